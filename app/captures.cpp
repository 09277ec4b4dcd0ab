#include "app/captures.h"

#include "app/phylacto.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
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
    switch (m_etape++) {
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
        m_fenetre->showMaximized();
        declencher(QStringLiteral("actionMurCouvertures"));
        break;
    case 7:
        prendre(QStringLiteral("mur-serie"), nullptr);
        if (auto* portee = m_fenetre->findChild<QComboBox*>(QStringLiteral("cbPorteeMur")))
            portee->setCurrentIndex(1);
        break;
    case 8:
        prendre(QStringLiteral("mur-collection"), nullptr);
        declencher(QStringLiteral("actionTableAlbums"));
        m_fenetre->showNormal();
        declencher(QStringLiteral("actionStatistiques"));
        montrerGraphique(0);
        break;
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14: {
        const int rang = m_etape - 10;
        static const char* const noms[]
            = { "types", "editeurs", "scenaristes", "dessinateurs", "series", "prets" };
        prendre(
            QStringLiteral("graphique-") + QLatin1String(noms[rang]), dialogueOuvert(m_fenetre));
        if (rang < 5) {
            montrerGraphique(rang + 1);
            break;
        }
        fermerDialogues();
        QApplication::exit(m_reussi ? 0 : 1);
        return;
    }
    }
    QTimer::singleShot(attente, this, &Captures::etape);
}

void Captures::declencher(const QString& action)
{
    if (auto* trouvee = m_fenetre->findChild<QAction*>(action))
        trouvee->trigger();
    else
        m_reussi = false;
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
