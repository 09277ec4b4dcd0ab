#include "app/captures.h"

#include "app/phylacto.h"
#include "dialogs/ajoutcatalogue.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

// Time for the window manager to map, place and paint a window.
constexpr int attente = 800;

QWidget* dialogueOuvert(QWidget* fenetre)
{
    for (QWidget* haut : QApplication::topLevelWidgets()) {
        if (haut != fenetre && haut->isVisible() && !haut->inherits("QMenu"))
            return haut;
    }
    return nullptr;
}

} // namespace

Captures::Captures(Phylacto* fenetre, const QString& dossier)
    : QObject(fenetre)
    , m_fenetre(fenetre)
    , m_dossier(dossier)
{
}

void Captures::lancer()
{
    QDir().mkpath(m_dossier);
    QTimer::singleShot(attente, this, &Captures::etape);
}

void Captures::etape()
{
    // The next step is due before this one acts: an action may run a modal
    // box, which the next step takes and closes from inside its event loop.
    const int etape = m_etape++;
    if (etape < 23)
        QTimer::singleShot(attente, this, &Captures::etape);
    switch (etape) {
    case 0:
        prendre(QStringLiteral("principale"), m_fenetre);
        m_fenetre->showMaximized();
        break;
    case 1:
        prendre(QStringLiteral("principale-maximisee"), nullptr);
        m_fenetre->showNormal();
        m_fenetre->ajouterAlbum();
        break;
    case 2:
        prendre(QStringLiteral("saisie"), dialogueOuvert(m_fenetre));
        fermerDialogues();
        m_fenetre->ConfigReseaux();
        break;
    case 3:
        prendre(QStringLiteral("configuration"), nullptr);
        fermerDialogues();
        m_fenetre->affichagePret();
        break;
    case 4:
        prendre(QStringLiteral("prets"), nullptr);
        fermerDialogues();
        m_fenetre->AfficherRecherche();
        break;
    case 5:
        prendre(QStringLiteral("exploration"), nullptr);
        fermerDialogues();
        m_fenetre->ChercherAlbum();
        break;
    case 6:
        prendre(QStringLiteral("couverture"), nullptr);
        fermerDialogues();
        // One backup to list: the file as it is.
        m_fenetre->save();
        declencher(QStringLiteral("actionRestaurer"));
        break;
    case 7:
        prendre(QStringLiteral("restauration"), nullptr);
        fermerDialogues();
        declencher(QStringLiteral("actionStatistiques"));
        break;
    case 8:
        prendre(QStringLiteral("statistiques"), nullptr);
        fermerDialogues();
        declencher(QStringLiteral("actionTomesManquants"));
        break;
    case 9:
        prendre(QStringLiteral("tomes-manquants"), nullptr);
        fermerDialogues();
        m_taille = m_fenetre->size();
        m_fenetre->resize(m_fenetre->minimumSize());
        break;
    case 10:
        prendre(QStringLiteral("principale-etroite"), m_fenetre);
        m_fenetre->resize(m_taille);
        declencher(QStringLiteral("actionAPropos"));
        break;
    case 11:
        prendre(QStringLiteral("a-propos"), dialogueOuvert(m_fenetre));
        fermerDialogues();
        m_fenetre->showMaximized();
        declencher(QStringLiteral("actionMurCouvertures"));
        break;
    case 12:
        prendre(QStringLiteral("mur-serie"), nullptr);
        if (auto* portee = m_fenetre->findChild<QComboBox*>(QStringLiteral("cbPorteeMur")))
            portee->setCurrentIndex(1);
        break;
    case 13:
        prendre(QStringLiteral("mur-collection"), nullptr);
        declencher(QStringLiteral("actionTableAlbums"));
        m_fenetre->showNormal();
        declencher(QStringLiteral("actionStatistiques"));
        montrerGraphique(0);
        break;
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19: {
        const int rang = etape - 14;
        static const char* const noms[]
            = { "types", "editeurs", "scenaristes", "dessinateurs", "series", "prets" };
        prendre(
            QStringLiteral("graphique-") + QLatin1String(noms[rang]), dialogueOuvert(m_fenetre));
        if (rang < 5) {
            montrerGraphique(rang + 1);
            break;
        }
        fermerDialogues();
        montrerAjoutCatalogue();
        break;
    }
    case 20:
        prendre(QStringLiteral("ajout-catalogue"), dialogueOuvert(m_fenetre));
        fermerDialogues();
        m_fenetre->ajouterAvis(QStringLiteral(
            "Exemple : le verrou data/phylacto.lock laissé par un Phylacto arrêté (processus "
            "4242 sur cet ordinateur) a été repris."));
        m_fenetre->ajouterAvis(QStringLiteral(
            "Exemple : le fichier de collection collection.csv contient des octets invalides en "
            "UTF-8, dès la ligne 44 : ils sont affichés « \uFFFD ». Le fichier tel qu'il est "
            "sera copié avant le premier enregistrement."));
        break;
    case 21:
        prendre(QStringLiteral("avis"), m_fenetre);
        m_fenetre->ajouterAlbum();
        break;
    case 22:
        // A change not yet saved: the title shows its mark.
        if (QWidget* saisie = dialogueOuvert(m_fenetre)) {
            const QList<std::pair<const char*, const char*>> champs { { "leSerie",
                                                                          "Capitaine Frégate" },
                { "leAlbum", "Le Retour de la Frégate" }, { "leTome", "5" } };
            for (const auto& [nom, texte] : champs) {
                if (auto* champ = saisie->findChild<QLineEdit*>(QLatin1String(nom)))
                    champ->setText(QString::fromUtf8(texte));
            }
            if (auto* valider = saisie->findChild<QPushButton*>(QStringLiteral("pbValider")))
                valider->click();
        }
        fermerDialogues();
        break;
    default:
        prendre(QStringLiteral("titre-modifie"), m_fenetre);
        QApplication::exit(m_reussi ? 0 : 1);
        return;
    }
}

void Captures::declencher(const QString& action)
{
    if (auto* trouvee = m_fenetre->findChild<QAction*>(action))
        trouvee->trigger();
    else
        m_reussi = false;
}

// Four barcodes scanned, as the library would answer them (no network here):
// three albums to add, one already held.
void Captures::montrerAjoutCatalogue()
{
    m_fenetre->ouvrirAjoutCatalogue();
    auto* ajout = m_fenetre->findChild<AjoutCatalogue*>();
    if (!ajout) {
        m_reussi = false;
        return;
    }
    using NoticesCatalogue::NoticeAlbum;
    using NoticesCatalogue::Source;
    const QList<NoticeAlbum> notices {
        { QStringLiteral("9782205000061"), QStringLiteral("Les Chroniques d'Élise"), 6,
            QStringLiteral("Le Chant des marées"), QStringLiteral("Anaïs Ferré"),
            QStringLiteral("Mathilde Roussel"), QStringLiteral("Léa Martin"),
            QStringLiteral("Dargaud"), 2025, {}, Source::Bnf, false },
        { QStringLiteral("9782205000023"), QStringLiteral("Les Chroniques d'Élise"), 2,
            QStringLiteral("Le Phare d'Écume"), QStringLiteral("Anaïs Ferré"),
            QStringLiteral("Mathilde Roussel"), QStringLiteral("Léa Martin"),
            QStringLiteral("Dargaud"), 2019, {}, Source::Bnf, false },
        { QStringLiteral("9782203000058"), QStringLiteral("Capitaine Frégate"), 5,
            QStringLiteral("Le Phare des Sept-Îles"), QStringLiteral("Hélène Cazenave"),
            QStringLiteral("Jérôme Guillou"), QStringLiteral("Studio Bleu"),
            QStringLiteral("Casterman"), 2024, {}, Source::Bnf, false },
        { QStringLiteral("9782505000082"), QStringLiteral("Kaze no Tabibito"), 8,
            QStringLiteral("Le Voyageur du vent 8"), QStringLiteral("Haruka Mori"),
            QStringLiteral("Haruka Mori"), {}, QStringLiteral("Kana"), 2021, {},
            Source::OpenLibrary, false },
    };
    for (const NoticeAlbum& notice : notices) {
        RechercheCatalogue::Resultat resultat;
        resultat.etat = RechercheCatalogue::Etat::Trouve;
        resultat.notices = { notice };
        ajout->recevoir(resultat, notice.isbn, true);
    }
}

void Captures::montrerGraphique(int rang)
{
    QWidget* statistiques = dialogueOuvert(m_fenetre);
    auto* onglets = statistiques
        ? statistiques->findChild<QTabWidget*>(QStringLiteral("tabStatistiques"))
        : nullptr;
    auto* liste = statistiques
        ? statistiques->findChild<QListWidget*>(QStringLiteral("LstGraphiques"))
        : nullptr;
    if (!onglets || !liste) {
        m_reussi = false;
        return;
    }
    onglets->setCurrentIndex(onglets->count() - 1);
    liste->setCurrentRow(rang);
}

void Captures::prendre(const QString& nom, QWidget* cadre)
{
    QScreen* ecran = QGuiApplication::primaryScreen();
    QPixmap image = ecran->grabWindow(0);
    if (cadre)
        image = image.copy(cadre->frameGeometry().translated(-ecran->geometry().topLeft()));
    const QString chemin = QDir(m_dossier).filePath(nom + QStringLiteral(".png"));
    if (!image.save(chemin, "PNG")) {
        std::fprintf(stderr, "phylacto : impossible d'écrire %s\n", qPrintable(chemin));
        m_reussi = false;
    }
}

void Captures::fermerDialogues()
{
    while (QWidget* dialogue = dialogueOuvert(m_fenetre)) {
        if (!dialogue->close())
            dialogue->hide();
    }
}
