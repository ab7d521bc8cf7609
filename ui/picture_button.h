#pragma once
#include <QPixmap>
#include <QPushButton>

namespace ui {

// The panel's buttons. Captions wrap onto more lines when the button is too
// narrow for them ("Timer Mode" on a 49-pixel button), and a graphical
// button draws its face picture centred with the caption over its lower part.
class PanelButton : public QPushButton {
    Q_OBJECT
  public:
    PanelButton(const QString& caption, QWidget* parent, const QPixmap& face = {});

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap face_;
};

} // namespace ui
