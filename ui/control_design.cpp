// The design tables' lookups and fonts.
#include "ui/control_design.h"

const ControlDesign* FindDesign(const ControlDesign* table, std::size_t count, int id) {
  for (std::size_t i = 0; i < count; ++i) {
    if (table[i].id == id) return &table[i];
  }
  return nullptr;
}

HFONT DesignFonts::Get(DesignFont font) {
  platform::ScopedFont& made = fonts_[static_cast<std::size_t>(font)];
  if (made.valid()) return made.get();
  switch (font) {
    case DesignFont::kTitle:
      made = units_.CreateFontAt(L"Verdana", 975, DesignUnits::kBold);
      break;
    case DesignFont::kFooter:
      made = units_.CreateFontAt(L"Tahoma", 825, DesignUnits::kRegular);
      break;
    case DesignFont::kDescription:
      made = units_.CreateFontAt(L"Verdana", 825, DesignUnits::kItalic);
      break;
    case DesignFont::kLink:
      made = units_.CreateFontAt(L"MS Sans Serif", 825, DesignUnits::kUnderline);
      break;
    default:
      made = DesignUnits::CreateDialogFont();
      break;
  }
  return made.get();
}
