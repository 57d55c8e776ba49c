#pragma once
// The measures of a form window: those of its fonts, and the height its style gives an edit field
// or a drop-down list in a font, so that the layout leaves room for the controls as they are drawn.
#include <map>
#include <memory>
#include <tuple>

#include "forms/FormFonts.h"

namespace tal {

class WindowFormMetrics : public QtFormMetrics {
 public:
  using QtFormMetrics::QtFormMetrics;
  int ControlHeight(const FontSlot& font) const override;

 private:
  mutable std::map<std::tuple<std::string, int, bool, bool, bool>, int> heights_;
};

}  // namespace tal
