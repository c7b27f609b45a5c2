// The desktop program's entry point. The standard options are answered and the command line
// is read before any Qt object exists, so --help, --version and the unattended runs work
// without a display: -render and -viewer never create a GUI object.
#include "DialogMessages.h"
#include "ShellWindow.h"
#include "SingleInstance.h"

#include "app/AppSession.h"
#include "app/CommandLine.h"
#include "app/StandardOptions.h"
#include "app/SystemInfo.h"
#include "app/UnattendedJob.h"

#include <QApplication>

namespace {

constexpr char kUsage[] =
    "Usage: pictavella3 [OPTIONS] [SWITCHES] [FILE...]\n"
    "\n"
    "Paint, and replay the painting process of pictures.\n"
    "\n"
    "Switches (case does not matter; -- ends them):\n"
    "  -render       replay FILE without a window and write FILE's picture as name.bmp and a\n"
    "                sealed copy of its recording as name.pe3 (name.pes for older streams)\n"
    "  -viewer       replay FILE without a window and report when it has ended\n"
    "  -O<folder>    where -render writes (default: FILE's folder)\n"
    "  -W<fd>        also write the result code to this open file descriptor\n"
    "  -T<seconds>   -viewer waits this long before it reports\n"
    "\n"
    "Options:\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "An unattended run prints its result code as one line on stdout: 8 picture and recording\n"
    "written, 9 a result could not be written (or would replace FILE), 10 FILE cannot be\n"
    "opened or replayed (leaves name.bad), 11 FILE is sealed (leaves name.prt), 13 replayed.\n"
    "The exit status is 0 for 8 and 13, otherwise the code.\n";

} // namespace

int main(int argc, char **argv)
{
    const pv::ProgramDescription program{"pictavella3", kUsage};
    if (auto status = pv::HandleStandardOptions(program, argc, argv))
        return *status;
    const pv::StartOptions options = pv::ParseCommandLine({argv + 1, size_t(argc - 1)});
    if (options.unattended)
        return pv::ReportResult(options, pv::RunUnattendedJob(options));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictavella3"));
    QStringList files;
    for (const std::string &file : options.files)
        files << QString::fromStdString(file);
    pv::SingleInstance instance;
    if (instance.Claim(files, pv::QueryAnswer(options)) == pv::SingleInstance::Start::HandedOver)
        return 0;

    pv::DialogMessages dialogs;
    pv::SetMessageHost(&dialogs);
    pv::AppSession session(pv::SessionFiles::Standard());
    if (!session.Begin(pv::GatherSystemInfo()))
        return 1;
    const QString title = QString::fromStdString(pv::ApplicationTitle(false));
    QApplication::setApplicationDisplayName(title);
    pv::ShellWindow window(title, files);
    QObject::connect(&instance, &pv::SingleInstance::FilesArrived, &window, [&window](const QStringList &paths) {
        window.OpenFiles(paths);
        window.BringToFront();
    });
    window.show();
    const int status = app.exec();
    session.End();
    pv::SetMessageHost(nullptr);
    return status;
}
