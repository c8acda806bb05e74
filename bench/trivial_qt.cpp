// The floor for the start-up script: a Qt widgets program that shows one main window of the
// program's size with a label, reporting its first paint the same way the program does.
#include "app/firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* label = new QLabel(QStringLiteral("Dravenna Deck-Builder"), &window);
    window.setCentralWidget(label);
    window.resize(993, 555);
    ui::FirstPaintReport::installIfAsked(&window);
    window.show();
    return app.exec();
}
