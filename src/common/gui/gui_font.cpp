#include "gui_font.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QWidget>

#include "common/string_res.h"

namespace zephra::common::gui {

void ApplyGuiFont(QWidget* window) {
  if (!window) return;
  const QString face = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  const int32_t language = UserDefaultLanguage();
  const bool eastAsian = language == 1028 || language == 1041 || language == 1042 || language == 2052;
  auto apply = [&](QWidget* w) {
    QFont f = w->font();
    const bool bold = f.bold();
    const bool italic = f.italic();
    double size = f.pointSizeF();
    f.setFamily(face);
    f.setBold(bold);
    f.setItalic(italic);
    if (size > 0) {
      if (eastAsian && size < 9) size = 9;
      if (!eastAsian && size < 8) size = 8;
      f.setPointSizeF(size);
    }
    w->setFont(f);
  };
  apply(window);
  for (QWidget* child : window->findChildren<QWidget*>()) apply(child);
}

void InstallFontSubstitutions() {
  QFont::insertSubstitution("Courier New", "Liberation Mono");
  QFont::insertSubstitution("Arial", "Liberation Sans");
  QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "DejaVu Sans"});
  QFont::insertSubstitutions("Microsoft Sans Serif", {"Liberation Sans", "DejaVu Sans"});
}

}  // namespace zephra::common::gui
