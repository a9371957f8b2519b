// The product name is what the drive's model says, else its vendor, as for a drive seen
// arriving; a folder that is no drive of its own has none.
#include "device/FolderArrival.h"

#include "app/AppContext.h"
#include "device/RemovableVolumes.h"

namespace lumicrate {

bool PrepareFolderArrival(AppContext& context, const std::filesystem::path& folder,
                          const std::filesystem::path& mountInfo, const std::filesystem::path& sysDevBlock) {
  if (!context.ReadyForImport) {
    return false;
  }
  std::string productName;
  for (const RemovableVolume& volume : ListRemovableVolumes(mountInfo, sysDevBlock)) {
    if (volume.mountPoint == folder) {
      productName = volume.model.empty() ? volume.vendor : volume.model;
    }
  }
  context.SelectDrive(folder, productName);
  return true;
}

} // namespace lumicrate
