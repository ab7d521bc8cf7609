#pragma once
// Why a front end's request was refused, in the one wording every front end
// gives (the bus's error text, the MQTT bridge's line on stderr).

#include "panel/panel_model.h"

#include <QString>

namespace panel {

// `time` is the text an arm request gave.
QString refusalText(const PanelModel& model, Refusal why, int channel, const QString& time = {});

} // namespace panel
