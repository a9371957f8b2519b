// Times one save of the three extension tables into the settings file: key by key, one
// replacement of the file per key, against one edit that replaces the file once.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/SettingsPages.h"

namespace {

using lumicrate::AppContext;
using lumicrate::CompareFileInfo_CL;
using lumicrate::Inifile_CL;

void SaveKeyByKey(const AppContext& context, Inifile_CL& settings) {
  for (const CompareFileInfo_CL* table :
       {&context.MovieExtensions, &context.PhotoExtensions, &context.SoundExtensions}) {
    settings.WriteInt(table->Section(), "count", static_cast<std::int32_t>(table->Count()));
    for (size_t i = 0; i < table->Count(); ++i) {
      settings.WriteString(table->Section(), "item" + std::to_string(i),
                           std::to_string(table->At(i).enabled) + "|" + table->At(i).extension);
    }
  }
}

void SaveOnce(const AppContext& context, Inifile_CL& settings) {
  Inifile_CL::Edit_CL edit(settings);
  lumicrate::StoreExtensionTables(context, edit);
  edit.Commit();
}

// Every entry switched on or off, so that every key of a save changes.
void SwitchAll(AppContext& context, std::int32_t enabled) {
  for (CompareFileInfo_CL* table : {&context.MovieExtensions, &context.PhotoExtensions, &context.SoundExtensions}) {
    for (size_t i = 0; i < table->Count(); ++i) {
      table->SetEnabled(table->At(i).extension, enabled);
    }
  }
}

// The median of the rounds in milliseconds.
template <class Save_T> double MedianMs(AppContext& context, Inifile_CL& settings, int rounds, Save_T save) {
  std::vector<double> samples;
  for (int round = 0; round < rounds; ++round) {
    SwitchAll(context, round % 2);
    const auto start = std::chrono::steady_clock::now();
    save(context, settings);
    samples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER [ROUNDS]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
  std::filesystem::create_directories(folder);
  Inifile_CL settings;
  settings.SetPath(folder / "Lumicrate.ini");
  AppContext context;
  context.LoadExtensionTables(settings);
  const double keyByKey = MedianMs(context, settings, rounds, SaveKeyByKey);
  const double once = MedianMs(context, settings, rounds, SaveOnce);
  std::printf("three tables (%zu keys), median of %d saves on %s\n",
              context.MovieExtensions.Count() + context.PhotoExtensions.Count() + context.SoundExtensions.Count() + 3,
              rounds, folder.c_str());
  std::printf("key by key:  %8.2f ms\none edit:    %8.2f ms\n", keyByKey, once);
  return 0;
}
