#include <QApplication>

#include "ui/app/startup.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Plumet");
    return plumet::ui::RunProgram();
}
