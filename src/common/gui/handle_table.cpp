#include "common/gui/handle_table.h"

#include <QPointer>
#include <QWidget>
#include <unordered_map>

namespace zephra::common::gui {

struct HandleTable::Impl {
  struct Entry {
    QPointer<QWidget> widget;
    QPainter* painter = nullptr;
  };
  std::unordered_map<Handle, Entry> entries;
  std::unordered_map<const QWidget*, Handle> byWidget;
  // Handles step by 4 from an arbitrary base, as window handles do, so small integers that
  // are plainly not handles (1, 2, 3) never resolve.
  Handle next = 0x10004;

  Handle NewHandle() {
    Handle h = next;
    next += 4;
    if (next <= 0) next = 0x10004;
    return h;
  }
};

HandleTable& HandleTable::Instance() {
  // Never destroyed: widgets may still announce their destruction while statics go away.
  static HandleTable* table = new HandleTable();
  return *table;
}

HandleTable::HandleTable() : d_(new Impl()) {}

Handle HandleTable::HandleOf(QWidget* widget) {
  if (!widget) return 0;
  Impl& d = *d_;
  auto found = d.byWidget.find(widget);
  if (found != d.byWidget.end()) {
    auto e = d.entries.find(found->second);
    if (e != d.entries.end() && e->second.widget == widget) return found->second;
    d.byWidget.erase(found);
  }
  const Handle h = d.NewHandle();
  d.entries[h] = Impl::Entry{QPointer<QWidget>(widget), nullptr};
  d.byWidget[widget] = h;
  QObject::connect(widget, &QObject::destroyed, [h, widget] {
    Impl& dd = *HandleTable::Instance().d_;
    dd.entries.erase(h);
    auto it = dd.byWidget.find(widget);
    if (it != dd.byWidget.end() && it->second == h) dd.byWidget.erase(it);
  });
  return h;
}

QWidget* HandleTable::Widget(Handle handle) const {
  const Impl& d = *d_;
  auto it = d.entries.find(handle);
  if (it == d.entries.end()) return nullptr;
  return it->second.widget.data();
}

Handle HandleTable::Add(QPainter* painter) {
  if (!painter) return 0;
  Impl& d = *d_;
  const Handle h = d.NewHandle();
  d.entries[h] = Impl::Entry{QPointer<QWidget>(), painter};
  return h;
}

QPainter* HandleTable::Painter(Handle handle) const {
  const Impl& d = *d_;
  auto it = d.entries.find(handle);
  if (it == d.entries.end()) return nullptr;
  return it->second.painter;
}

void HandleTable::Remove(Handle handle) {
  Impl& d = *d_;
  auto it = d.entries.find(handle);
  if (it == d.entries.end()) return;
  if (it->second.widget) d.byWidget.erase(it->second.widget.data());
  d.entries.erase(it);
}

}  // namespace zephra::common::gui
