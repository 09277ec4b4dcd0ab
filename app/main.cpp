#include "app/demarrage.h"
#include "app/phylacto.h"
#include "covers/verificationenligne.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

void nommerApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Phylacto"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PHYLACTO_VERSION));
}

QCommandLineOption preparerOptions(QCommandLineParser& parser)
{
    const QString description = QStringLiteral(
        "Phylacto, catalogue of comic albums. Works in DIR: data/settings.ini, the "
        "collection file, images/, icon.ico. Without DIR: the current directory, or, "
        "when started from the home folder (as from the desktop menu) and no "
        "data/settings.ini is there, the per-user folder %1.");
    parser.setApplicationDescription(description.arg(Demarrage::dossierUtilisateur()));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption optionCapture(QStringLiteral("screenshot"),
        QStringLiteral("Start normally, save a picture of the main window to FILE and quit."),
        QStringLiteral("FILE"));
    parser.addOption(optionCapture);
    parser.addPositionalArgument(
        QStringLiteral("DIR"), QStringLiteral("Working directory."), QStringLiteral("[DIR]"));
    return optionCapture;
}

// --help and --version answer without a window system, e.g. over ssh.
bool texteSeulement(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : { "-h", "-?", "--help", "--help-all", "-v", "--version" }) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (texteSeulement(argc, argv)) {
        QCoreApplication application(argc, argv);
        nommerApplication();
        QCommandLineParser parser;
        preparerOptions(parser);
        parser.process(application); // prints and exits
        return 0;
    }

    // Hidden: the maintainer's live check of the cover sources
    // (scripts/couvertures-en-ligne.sh).
    if (argc == 2 && std::strcmp(argv[1], "--couvertures-en-ligne") == 0) {
        QGuiApplication application(argc, argv);
        nommerApplication();
        QTextStream sortie(stdout);
        return verifierCouverturesEnLigne(sortie);
    }

    QApplication application(argc, argv);
    nommerApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral("phylacto"));
    QCommandLineParser parser;
    const QCommandLineOption optionCapture = preparerOptions(parser);
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
