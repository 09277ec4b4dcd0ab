#include "app/demarrage.h"
#include "app/phylacto.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Phylacto"));
    QApplication::setApplicationVersion(QStringLiteral(PHYLACTO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("phylacto"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Phylacto, catalogue of comic albums. Works in DIR: data/settings.ini, the "
                       "collection file, images/, icon.ico. Without DIR: the current directory, or, "
                       "when started from the home folder (as from the desktop menu) and no "
                       "data/settings.ini is there, the per-user folder %1.")
            .arg(Demarrage::dossierUtilisateur()));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption optionCapture(
        QStringLiteral("screenshot"),
        QStringLiteral("Start normally, save a picture of the main window to FILE and quit."),
        QStringLiteral("FILE"));
    parser.addOption(optionCapture);
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("Working directory."),
                                 QStringLiteral("[DIR]"));
    parser.process(application);

    QString capture = parser.value(optionCapture);
    if (!capture.isEmpty())
        capture = QDir::current().absoluteFilePath(capture);

    const QStringList arguments = parser.positionalArguments();
    Demarrage::Emplacements emplacements;
    emplacements.argument = arguments.value(0);
    emplacements.courant = QDir::currentPath();
    emplacements.personnel = QDir::homePath();
    emplacements.utilisateur = Demarrage::dossierUtilisateur();
    emplacements.defauts = Demarrage::dossierDefauts(QCoreApplication::applicationDirPath());
    QString erreur;
    if (Demarrage::demarrer(emplacements, &erreur).isEmpty()) {
        std::fprintf(stderr, "phylacto: %s\n", qPrintable(erreur));
        return 1;
    }

    Phylacto fenetre;
    fenetre.show();

    if (!capture.isEmpty()) {
        QTimer::singleShot(200, &fenetre, [&fenetre, capture]() {
            const bool ecrit = fenetre.grab().save(capture, "PNG");
            if (!ecrit)
                std::fprintf(stderr, "phylacto: cannot write %s\n", qPrintable(capture));
            QApplication::exit(ecrit ? 0 : 1);
        });
    }
    return application.exec();
}
