#include "dialogs/deleguemur.h"

#include "covers/cachevignettes.h"
#include "model/modelemurcouvertures.h"

#include <QPainter>

namespace {

constexpr int marge = 6;
constexpr int ecartTexte = 4;
constexpr int nbLignes = 3;

} // namespace

DelegueMur::DelegueMur(CacheVignettes* cache, const Chemins& chemins, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_cache(cache)
    , m_chemins(chemins)
{
}

QSize DelegueMur::cellule(const QFontMetrics& metriques) const
{
    return { m_largeur + 2 * marge,
        marge + boite().height() + ecartTexte + nbLignes * metriques.height() + marge };
}

QSize DelegueMur::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return cellule(option.fontMetrics);
}

void DelegueMur::paint(
    QPainter* peintre, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    peintre->save();
    const QRect cadre = option.rect.adjusted(1, 1, -1, -1);
    const bool choisi = option.state & QStyle::State_Selected;
    if (choisi) {
        peintre->setRenderHint(QPainter::Antialiasing);
        peintre->setPen(Qt::NoPen);
        peintre->setBrush(option.palette.brush(QPalette::Highlight));
        peintre->drawRoundedRect(cadre, 4, 4);
    }
    const QRect zone(cadre.left() + (cadre.width() - boite().width()) / 2, cadre.top() + marge - 1,
        boite().width(), boite().height());
    peindreImage(peintre, zone, index, option);

    const QFontMetrics metriques(option.font);
    QRect ligne(cadre.left() + marge, zone.bottom() + 1 + ecartTexte, cadre.width() - 2 * marge,
        metriques.height());
    peintre->setPen(option.palette.color(choisi ? QPalette::HighlightedText : QPalette::Text));
    const QString textes[nbLignes] = {
        index.data(ModeleMurCouvertures::RoleSerie).toString(),
        tr("Tome %1").arg(index.data(ModeleMurCouvertures::RoleTome).toInt()),
        index.data(ModeleMurCouvertures::RoleTitre).toString(),
    };
    for (int numero = 0; numero < nbLignes; ++numero) {
        QFont police = option.font;
        police.setBold(numero == 0);
        peintre->setFont(police);
        const QString elide
            = QFontMetrics(police).elidedText(textes[numero], Qt::ElideRight, ligne.width());
        peintre->drawText(ligne, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, elide);
        ligne.translate(0, metriques.height());
    }
    if (option.state & QStyle::State_HasFocus && !choisi) {
        peintre->setPen(QPen(option.palette.color(QPalette::Highlight), 1, Qt::DashLine));
        peintre->setBrush(Qt::NoBrush);
        peintre->drawRect(cadre.adjusted(0, 0, -1, -1));
    }
    peintre->restore();
}

void DelegueMur::peindreImage(QPainter* peintre, const QRect& zone, const QModelIndex& index,
    const QStyleOptionViewItem& option) const
{
    QImage image;
    auto etat = CacheVignettes::Etat::SansImage;
    const QString champ = index.data(ModeleMurCouvertures::RoleImage).toString();
    if (!champ.isEmpty())
        etat = m_cache->vignette(m_chemins.fichierTravail(champ), boite(), &image);
    if (etat == CacheVignettes::Etat::SansImage)
        etat = m_cache->vignette(m_chemins.couvertureParDefaut(), boite(), &image);
    if (etat == CacheVignettes::Etat::Prete) {
        // Bottoms aligned, so that the texts of a row line up.
        peintre->drawImage(QPoint(zone.left() + (zone.width() - image.width()) / 2,
                               zone.bottom() + 1 - image.height()),
            image);
        return;
    }
    // Still being made, or no placeholder either: an empty frame of the same size.
    peintre->setPen(option.palette.color(QPalette::Mid));
    peintre->setBrush(option.palette.brush(QPalette::AlternateBase));
    peintre->drawRect(zone.adjusted(0, 0, -1, -1));
}
