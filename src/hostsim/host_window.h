#pragma once
// The host's own windows: the main window (program, commands with the executing one
// highlighted, execution options, open dialogs with buttons an operator can press) and the
// small read-out window.

#include <QLabel>
#include <QWidget>
#include <memory>
#include <vector>

class QGroupBox;
class QListWidget;
class QVBoxLayout;

namespace zephra::hostsim {

class HostApplication;
class PartProgram;

class HostWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HostWindow(HostApplication* app);
  // Brings the window up to date with the host; cheap when little changed.
  void Refresh();

 private:
  void RebuildCommands(const std::shared_ptr<PartProgram>& program);
  void RebuildDialogs();

  HostApplication* app_;
  QLabel* lblProgram_;
  QLabel* lblState_;
  QListWidget* lstCommands_;
  QLabel* lblOptions_;
  QLabel* lblStartup_;
  QGroupBox* grpDialogs_;
  QVBoxLayout* dialogsLayout_;
  QWidget* dialogsPanel_ = nullptr;
  std::weak_ptr<PartProgram> listed_;
  bool listedAny_ = false;
  std::vector<int32_t> shownDialogs_;
};

class ReadoutView : public QLabel {
  Q_OBJECT

 public:
  explicit ReadoutView(HostApplication* app);
  void Refresh();

 private:
  HostApplication* app_;
};

}  // namespace zephra::hostsim
