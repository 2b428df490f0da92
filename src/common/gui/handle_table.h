#pragma once
// Window handles and device contexts cross the automation boundary as integers. This table
// hands out those integers for widgets and painters of this process and maps them back; 0 is
// never handed out and means "none".
//
// A widget keeps one handle for as long as it lives, like a window handle; the entry goes when
// the widget is destroyed. A painter gets a handle for as long as its owner wants to lend it out
// (ScopedPainterHandle), like a device context taken for one paint.

#include <cstdint>

class QPainter;
class QWidget;

namespace zephra::common::gui {

using Handle = int32_t;

class HandleTable {
 public:
  static HandleTable& Instance();

  // The widget's handle, made on first use; 0 for none.
  Handle HandleOf(QWidget* widget);
  // The widget behind a handle; none when the handle is unknown, not a widget's, or the
  // widget has been destroyed.
  QWidget* Widget(Handle handle) const;

  // A new handle for a painter. The caller removes it before the painter goes away.
  Handle Add(QPainter* painter);
  // The painter behind a handle, or none.
  QPainter* Painter(Handle handle) const;

  void Remove(Handle handle);

 private:
  HandleTable();
  struct Impl;
  Impl* d_;
};

// Lends a painter out as a device-context handle for the lifetime of this object.
class ScopedPainterHandle {
 public:
  explicit ScopedPainterHandle(QPainter* painter) : handle_(HandleTable::Instance().Add(painter)) {}
  ~ScopedPainterHandle() { HandleTable::Instance().Remove(handle_); }
  ScopedPainterHandle(const ScopedPainterHandle&) = delete;
  ScopedPainterHandle& operator=(const ScopedPainterHandle&) = delete;
  Handle handle() const { return handle_; }

 private:
  Handle handle_;
};

}  // namespace zephra::common::gui
