// Installs one archive onto a card folder the way the plug-in does, in a
// process of its own, so a test can kill it in the middle of the swap:
// dravik_install_helper CARD ARCHIVE [OLD_FOLDER]
// Exit code 0 on success, 1 on failure, 2 on bad arguments.
#include "InstallRunnable.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3 || args.size() > 4)
        return 2;
    InstallRunnable job(1, args.at(2));
    job.setCard(Card(args.at(1)));
    if (args.size() == 4) {
        job.setOldVersionFolder(args.at(3));
        job.setDeleteOldFirst(true);
    }
    bool ok = false;
    QObject::connect(&job, &InstallRunnable::installFinished,
                     [&ok](long, bool result, const QString &) { ok = result; });
    job.run();
    return ok ? 0 : 1;
}
