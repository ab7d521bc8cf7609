#pragma once
// The window that the operation guide and the wiring diagram share: a cover
// picture painted as the window's own background, page pictures stacked over
// it (all hidden at start) and a row of buttons that step through the pages.
// What each window looks like and what each button does are tables; the
// window only builds the controls and runs the steps of a table in order.

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include <span>

namespace help {

enum class StepAction { Show, Hide, Enable, Disable };

// One step of a click handler: what to do to which control (by objectName).
struct Step {
    StepAction action;
    const char* control;
};

// A page picture holder. Geometry in twips.
struct PageDesign {
    const char* name;
    const char* image;
    int left, top, width, height;
    const char* descriptionKey;
    const char* description; // used when no description text is embedded
};

// A stepping button in the row below the pages. Geometry in twips.
struct ButtonDesign {
    const char* name;
    const char* caption;
    int left, width;
    bool enabled;
    std::span<const Step> click; // what a click does, in order
};

// A page picture box. Its picture is decoded while the page shows and let go
// when it hides: a window keeps only the pages on view in memory.
class PageHolder : public QLabel {
    Q_OBJECT
  public:
    PageHolder(QString image, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QString image_;
};

// A window's design, in tables that outlive the window.
struct PagedWindowDesign {
    const char* name;
    const char* caption;
    int clientWidth, clientHeight; // twips
    const char* coverImage;
    const char* coverDescriptionKey;
    const char* coverDescription;
    int buttonTop, buttonHeight; // twips
    std::span<const PageDesign> pages;
    std::span<const ButtonDesign> buttons;
    std::span<const char* const> tabOrder; // objectNames, first to last
};

class PagedWindow : public QWidget {
    Q_OBJECT
  public:
    explicit PagedWindow(const PagedWindowDesign& design);

  public slots:
    // The click handler of the button Command<n>, enabled or not.
    void Command_Click(int n);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Runs the steps in the order given.
    void runSteps(std::span<const Step> steps);

    std::span<const ButtonDesign> buttons_;
    QPixmap cover_;
};

} // namespace help
