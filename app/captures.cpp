#include "app/captures.h"

#include "app/phylacto.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QScreen>
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
    default:
        prendre(QStringLiteral("couverture"), nullptr);
        fermerDialogues();
        QApplication::exit(m_reussi ? 0 : 1);
        return;
    }
    QTimer::singleShot(attente, this, &Captures::etape);
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
