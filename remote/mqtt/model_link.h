#pragma once
// The panel's model in this process: the bridge drives the board itself, on
// a machine with no desktop, by the panel's own rules and refusals.

#include "panel_link.h"

namespace panel {
class PanelModel;
}

namespace remote::mqtt {

class ModelLink : public PanelLink {
    Q_OBJECT
  public:
    explicit ModelLink(panel::PanelModel& model, QObject* parent = nullptr);

    void start() override;
    const std::optional<PanelState>& state() const override { return state_; }
    void request(Command command, int channel, const QString& time, std::chrono::milliseconds pulse,
                 Answered answered) override;

  private:
    PanelState read() const;
    void refresh();

    panel::PanelModel& model_;
    std::optional<PanelState> state_;
};

} // namespace remote::mqtt
