// The floor the panel's start-up is measured against: a bare window of the
// panel's size and title that shows one line of text in the panel's font.
// Any window with text pays for the font system; this one pays for nothing
// else.
#include "ui/look.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle("Quorvale Automation KAVO H1.10xp");
    window.setFixedSize(301, 486);
    QLabel line("Quorvale Automation", &window);
    line.setFont(ui::designFont(11, true));
    line.move(96, 64);
    window.show();
    return app.exec();
}
