// Items that can write themselves to a binary stream and read themselves back.
#pragma once

#include <istream>
#include <ostream>

namespace lumicrate {

class SaveItemBase_CL {
public:
  virtual ~SaveItemBase_CL() = default;
  virtual bool Save(std::ostream& out) const = 0;
  virtual bool Load(std::istream& in) = 0;
};

} // namespace lumicrate
