#include "app/captures.h"
#include "app/demarrage.h"
#include "app/phylacto.h"
#include "covers/verificationenligne.h"
#include "dialogs/boites.h"
#include "settings/chemins.h"
#include "settings/codecs.h"
#include "settings/parametres.h"
#include "store/verificationcollection.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTextCodec>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace {

void nommerApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Phylacto"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PHYLACTO_VERSION));
}

// The two lines Qt's French translation leaves in English in --help.
class AideEnFrancais : public QTranslator
{
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* contexte, const char* texte, const char* desambiguisation,
        int nombre) const override
    {
        Q_UNUSED(desambiguisation);
        Q_UNUSED(nombre);
        if (std::strcmp(contexte, "QCommandLineParser") != 0)
            return {};
        if (std::strcmp(texte, "Displays help on commandline options.") == 0)
            return QStringLiteral("Affiche l'aide des options de la ligne de commande.");
        if (std::strcmp(texte, "Displays help including Qt specific options.") == 0)
            return QStringLiteral("Affiche l'aide, options propres à Qt comprises.");
        return {};
    }
};

// The program speaks French only: Qt's own buttons, dialogs and --help too,
// whatever the system language.
void traduireQt()
{
    QCoreApplication::installTranslator(new AideEnFrancais(QCoreApplication::instance()));
    auto* traduction = new QTranslator(QCoreApplication::instance());
    if (traduction->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traduction);
    else
        delete traduction;
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
    const QCommandLineOption optionVerifier(QStringLiteral("verifier"),
        QStringLiteral("Vérifie le fichier de collection FICHIER sans ouvrir de fenêtre : une "
                       "ligne par problème, puis un bilan. Code de sortie 0 sans problème, 1 avec "
                       "des problèmes, 2 illisible."),
        QStringLiteral("FICHIER"));
    parser.addOption(optionVerifier);
    const QCommandLineOption optionEncodage(QStringLiteral("encodage"),
        QStringLiteral("Encodage pour --verifier (par défaut : BASE/Encodage du data/settings.ini "
                       "de DOSSIER, sinon UTF-8)."),
        QStringLiteral("NOM"));
    parser.addOption(optionEncodage);
    parser.addPositionalArgument(QStringLiteral("DOSSIER"), QStringLiteral("Dossier de travail."),
        QStringLiteral("[DOSSIER]"));
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
        const QSettings parametres(Chemins(dossier).fichierParametres(), QSettings::IniFormat);
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
    const RapportVerification rapport
        = VerificationCollection::verifierFichier(QDir::current().absoluteFilePath(fichier), codec,
            dossier, [](const RapportVerification::Probleme& probleme) {
                ecrireLigne(stdout, VerificationCollection::texte(probleme));
            });
    ecrireLigne(rapport.lisible ? stdout : stderr, VerificationCollection::bilan(rapport, fichier));
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
        if (std::strcmp(argv[i], "--verifier") == 0
            || std::strncmp(argv[i], "--verifier=", 11) == 0)
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
        traduireQt();
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
    traduireQt();
    QGuiApplication::setDesktopFileName(QStringLiteral("phylacto"));
    QCommandLineParser parser;
    const Options options = preparerOptions(parser);
    parser.process(application);

    QString capture = parser.value(options.capture);
    if (!capture.isEmpty())
        capture = QDir::current().absoluteFilePath(capture);
    QString captures = parser.value(QStringLiteral("captures"));
    if (!captures.isEmpty())
        captures = QDir::current().absoluteFilePath(captures);

    QString erreur;
    Verrou::Prise verrou; // held until the program ends
    const QString dossier = Demarrage::demarrer(emplacementsDe(parser), &verrou, &erreur);
    if (dossier.isEmpty())
        return erreur.isEmpty() ? 0 : echecDemarrage(erreur);

    Phylacto fenetre;
    if (verrou.issue == Verrou::Prise::LectureSeule)
        fenetre.ouvrirEnLectureSeule(verrou.texte);
    else if (!verrou.texte.isEmpty())
        fenetre.ajouterAvis(verrou.texte);
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
    const int code = application.exec();
    fenetre.laisserAlbumsAuSysteme();
    return code;
}
