#pragma once
#include "core/port_output.h"

#include <QWidget>

namespace ui {

// A small warning dot shown while the last write to the relay board failed;
// its tooltip gives the reason and the fix. Hidden while writes work.
class PortIndicator : public QWidget {
    Q_OBJECT
  public:
    explicit PortIndicator(QWidget* parent);
    void showStatus(const core::PortStatus& status);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
