// Lumoset: text to speech, speech to text, picture to text and translation behind one window.
#include <QApplication>

#include "app/globals.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lumoset::createGlobals();
    int result = 0;
    {
        lumoset::MainWindow window;
        window.show();
        result = app.exec();
    }
    lumoset::releaseGlobals();
    return result;
}
