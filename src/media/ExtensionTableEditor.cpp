// The extension pages' rules: the check boxes set flags in the working copy, the add dialog's
// text becomes a user entry, and only user entries can be deleted.
#include "media/ExtensionTableEditor.h"

#include <algorithm>

#include "platform/Utf.h"

namespace lumicrate {
namespace {

// Japanese input methods type the ideographic space as readily as the ASCII one.
bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\u3000';
}

} // namespace

ExtensionTableEditor::ExtensionTableEditor(CompareFileInfo_CL& shared) : shared_(shared), working_(shared) {}

bool ExtensionTableEditor::SetChecked(int row, bool checked) {
  if (!IsRow(row) || (working_.At(static_cast<size_t>(row)).enabled != 0) == checked) {
    return false;
  }
  return working_.SetEnabled(working_.At(static_cast<size_t>(row)).extension, checked ? 1 : 0) == 1;
}

bool ExtensionTableEditor::AddUserExtension(const std::string& extension) {
  ExtensionEntry entry;
  entry.enabled = 1;
  entry.builtIn = 0;
  entry.extension = extension;
  entry.contentType = CompareFileInfo_CL::kUserEntryContentType;
  return working_.Add(std::move(entry), true) == 1;
}

bool ExtensionTableEditor::CanDelete(int row) const {
  return IsRow(row) && working_.At(static_cast<size_t>(row)).builtIn == 0;
}

bool ExtensionTableEditor::Delete(int row) {
  if (!CanDelete(row)) {
    return false;
  }
  working_.RemoveAt(static_cast<size_t>(row));
  return true;
}

void ExtensionTableEditor::Apply(Inifile_CL::Edit_CL& edit) {
  shared_ = working_;
  shared_.Save(edit);
}

std::optional<std::string> NormaliseUserExtension(std::string_view typed) {
  std::u16string text = Utf8ToUtf16(typed);
  const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
  text = first < last ? std::u16string(first, last) : std::u16string();
  if (text.empty()) {
    return std::nullopt;
  }
  if (text.front() != u'.') {
    text.insert(text.begin(), u'.');
  }
  if (text.size() == 1) {
    return std::nullopt;
  }
  for (size_t i = 1; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'.' || c == u'/' || c < 0x20 || c == 0x7F || IsBlank(c)) {
      return std::nullopt;
    }
  }
  return AsciiToLower(Utf16ToUtf8(text));
}

} // namespace lumicrate
