// The desktop program's entry point. The standard options are answered before any Qt
// object exists, so --help and --version work without a display.
#include "app/StandardOptions.h"

#include <QApplication>
#include <QMainWindow>

namespace {

constexpr char kUsage[] =
    "Usage: pictavella3 [OPTIONS] [FILE...]\n"
    "\n"
    "Paint, and replay the painting process of pictures.\n"
    "\n"
    "Options:\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n";

} // namespace

int main(int argc, char **argv)
{
    const pv::ProgramDescription program{"pictavella3", kUsage};
    if (auto status = pv::HandleStandardOptions(program, argc, argv))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictavella3"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Pictavella3"));
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
