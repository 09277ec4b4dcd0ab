#include "app/captures.h"
#include "app/demarrage.h"
#include "app/phylacto.h"
#include "settings/parametres.h"
#include "covers/verificationenligne.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
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

// The program speaks French only: Qt's own buttons, dialogs and --help too,
// whatever the system language.
void traduireQt()
{
    auto* traduction = new QTranslator(QCoreApplication::instance());
    if (traduction->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traduction);
    else
        delete traduction;
}

QCommandLineOption preparerOptions(QCommandLineParser& parser)
{
    const QString description = QStringLiteral(
        "Phylacto, catalogue d'albums de bande dessinée. Travaille dans DOSSIER : "
        "data/settings.ini, le fichier de la collection, images/, icon.ico. Sans DOSSIER : "
        "le dossier courant ou, lancé depuis le dossier personnel (comme depuis le menu du "
        "bureau) sans data/settings.ini, le dossier de l'utilisateur %1.");
    parser.setApplicationDescription(description.arg(Demarrage::dossierUtilisateur()));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption optionCapture(QStringLiteral("screenshot"),
        QStringLiteral("Démarre normalement, enregistre une image de la fenêtre principale "
                       "dans FICHIER et quitte."),
        QStringLiteral("FICHIER"));
    parser.addOption(optionCapture);
    parser.addOption(QCommandLineOption(QStringLiteral("captures"),
        QStringLiteral("Démarre, enregistre dans DOSSIER des images de l'écran avec la fenêtre "
                       "principale et chacun de ses dialogues, et quitte."),
        QStringLiteral("DOSSIER")));
    parser.addPositionalArgument(QStringLiteral("DOSSIER"), QStringLiteral("Dossier de travail."),
        QStringLiteral("[DOSSIER]"));
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
        traduireQt();
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
    traduireQt();
    QGuiApplication::setDesktopFileName(QStringLiteral("phylacto"));
    QCommandLineParser parser;
    const QCommandLineOption optionCapture = preparerOptions(parser);
    parser.process(application);

    QString capture = parser.value(optionCapture);
    if (!capture.isEmpty())
        capture = QDir::current().absoluteFilePath(capture);
    QString captures = parser.value(QStringLiteral("captures"));
    if (!captures.isEmpty())
        captures = QDir::current().absoluteFilePath(captures);

    const QStringList arguments = parser.positionalArguments();
    Demarrage::Emplacements emplacements;
    emplacements.argument = arguments.value(0);
    emplacements.courant = QDir::currentPath();
    emplacements.personnel = QDir::homePath();
    emplacements.utilisateur = Demarrage::dossierUtilisateur();
    emplacements.defauts = Demarrage::dossierDefauts(QCoreApplication::applicationDirPath());
    QString erreur;
    if (Demarrage::demarrer(emplacements, &erreur).isEmpty()) {
        std::fprintf(stderr, "phylacto : %s\n", qPrintable(erreur));
        return 1;
    }

    Phylacto fenetre;
    // Pictures show the default window, whatever the user left.
    if (capture.isEmpty() && captures.isEmpty())
        fenetre.restaurerDisposition(Parametres::ouvrirDisposition(&fenetre));
    fenetre.show();

    if (!capture.isEmpty()) {
        QTimer::singleShot(200, &fenetre, [&fenetre, capture]() {
            const bool ecrit = fenetre.grab().save(capture, "PNG");
            if (!ecrit)
                std::fprintf(stderr, "phylacto : impossible d'écrire %s\n", qPrintable(capture));
            QApplication::exit(ecrit ? 0 : 1);
        });
    }
    if (!captures.isEmpty())
        (new Captures(&fenetre, captures))->lancer();
    return application.exec();
}
