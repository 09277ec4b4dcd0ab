#include "app/demarrage.h"
#include "app/phylacto.h"
#include "dialogs/boites.h"
#include "settings/codecs.h"
#include "settings/parametres.h"
#include "store/verificationcollection.h"
#include "covers/verificationenligne.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLockFile>
#include <QSettings>
#include <QTextCodec>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

void nommerApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Phylacto"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PHYLACTO_VERSION));
}

struct Options
{
    QCommandLineOption capture;
    QCommandLineOption verifier;
    QCommandLineOption encodage;
};

Options preparerOptions(QCommandLineParser& parser)
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
    const QCommandLineOption optionVerifier(QStringLiteral("verifier"),
        QStringLiteral("Check the collection file FICHIER without opening a window: one line per "
                       "problem, then a summary. Exit status 0 clean, 1 problems, 2 unreadable."),
        QStringLiteral("FICHIER"));
    parser.addOption(optionVerifier);
    const QCommandLineOption optionEncodage(QStringLiteral("encodage"),
        QStringLiteral("Encoding for --verifier (default: BASE/Encodage of DIR's "
                       "data/settings.ini, else UTF-8)."),
        QStringLiteral("NOM"));
    parser.addOption(optionEncodage);
    parser.addPositionalArgument(
        QStringLiteral("DIR"), QStringLiteral("Working directory."), QStringLiteral("[DIR]"));
    return { optionCapture, optionVerifier, optionEncodage };
}

Demarrage::Emplacements emplacementsDe(const QCommandLineParser& parser)
{
    Demarrage::Emplacements emplacements;
    emplacements.argument = parser.positionalArguments().value(0);
    emplacements.courant = QDir::currentPath();
    emplacements.personnel = QDir::homePath();
    emplacements.utilisateur = Demarrage::dossierUtilisateur();
    emplacements.defauts = Demarrage::dossierDefauts(QCoreApplication::applicationDirPath());
    return emplacements;
}

void ecrireLigne(FILE* sortie, const QString& ligne)
{
    std::fputs(ligne.toLocal8Bit().constData(), sortie);
    std::fputc('\n', sortie);
}

// Reads nothing but the file and the folder's settings: no window, no display.
int verifier(const QCommandLineParser& parser, const Options& options)
{
    const QString dossier = Demarrage::choisirDossierTravail(emplacementsDe(parser));
    QString encodage = parser.value(options.encodage);
    if (encodage.isEmpty()) {
        const QSettings parametres(
            QDir(dossier).filePath(QStringLiteral("data/settings.ini")), QSettings::IniFormat);
        encodage = Parametres::lire(parametres, Parametres::Cle::Encodage);
    }
    if (encodage.isEmpty())
        encodage = QStringLiteral("UTF-8");
    QTextCodec* codec = Codecs::codecParNom(encodage);
    if (!codec) {
        ecrireLigne(stderr, QStringLiteral("phylacto : encodage inconnu : %1").arg(encodage));
        return 2;
    }
    const QString fichier = parser.value(options.verifier);
    const RapportVerification rapport = VerificationCollection::verifierFichier(
        QDir::current().absoluteFilePath(fichier), codec, dossier);
    const QStringList lignes = VerificationCollection::texte(rapport, fichier);
    for (const QString& ligne : lignes)
        ecrireLigne(rapport.lisible ? stdout : stderr, ligne);
    return VerificationCollection::codeSortie(rapport);
}

// Before the window exists, a problem is said on standard error and in a box:
// started from a desktop menu, nobody reads standard error.
int echecDemarrage(const QString& texte)
{
    ecrireLigne(stderr, QStringLiteral("phylacto: ") + texte);
    Boites::Boite boite;
    boite.icone = QMessageBox::Critical;
    boite.titre = QStringLiteral("Phylacto");
    boite.texte = texte;
    Boites::montrer(boite);
    return 1;
}

// --help and --version answer without a window system, e.g. over ssh.
bool texteSeulement(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : { "-h", "-?", "--help", "--help-all", "-v", "--version" }) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
        if (std::strcmp(argv[i], "--verifier") == 0 || std::strncmp(argv[i], "--verifier=", 11) == 0)
            return true;
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
        const Options options = preparerOptions(parser);
        parser.process(application); // --help and --version print and exit
        return verifier(parser, options);
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
    const Options options = preparerOptions(parser);
    parser.process(application);

    QString capture = parser.value(options.capture);
    if (!capture.isEmpty())
        capture = QDir::current().absoluteFilePath(capture);

    QString erreur;
    const QString dossier = Demarrage::demarrer(emplacementsDe(parser), &erreur);
    if (dossier.isEmpty())
        return echecDemarrage(erreur);
    // Held until the program ends.
    const std::unique_ptr<QLockFile> verrou = Demarrage::verrouiller(&erreur);
    if (!verrou)
        return echecDemarrage(erreur);

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
