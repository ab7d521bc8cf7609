#pragma once
// One secondary window (guide, wiring diagram, About): a single instance,
// created on first use from a factory, shown non-modally with no owner,
// brought to the front as it is when already open, and destroyed when
// closed so that the next show builds it afresh.

#include <QPointer>
#include <QWidget>

#include <functional>

namespace ui {

class SecondaryWindow {
  public:
    using Factory = std::function<QWidget*()>;

    explicit SecondaryWindow(Factory factory) : factory_(std::move(factory)) {}
    ~SecondaryWindow() { delete window_.data(); }
    SecondaryWindow(const SecondaryWindow&) = delete;
    SecondaryWindow& operator=(const SecondaryWindow&) = delete;

    // Creates the window if needed, shows it and brings it to the front.
    QWidget* show();
    // The live instance, or nullptr when it is not open.
    QWidget* window() const { return window_.data(); }

  private:
    Factory factory_;
    QPointer<QWidget> window_;
};

} // namespace ui
