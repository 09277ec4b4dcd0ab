#pragma once

#include "settings/chemins.h"

#include <QStyledItemDelegate>

class CacheVignettes;

// One album of the covers wall: its thumbnail, or the placeholder cover,
// then its series, volume and title, each on one line, elided.
class DelegueMur : public QStyledItemDelegate
{
    Q_OBJECT

public:
    DelegueMur(CacheVignettes* cache, const Chemins& chemins, QObject* parent = nullptr);

    // Width of the thumbnails; their box is a third taller.
    void setTaille(int largeur) { m_largeur = largeur; }
    QSize boite() const { return { m_largeur, m_largeur * 4 / 3 }; }
    // The room of one album, for the view's grid.
    QSize cellule(const QFontMetrics& metriques) const;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* peintre, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;

private:
    void peindreImage(QPainter* peintre, const QRect& zone, const QModelIndex& index,
        const QStyleOptionViewItem& option) const;

    CacheVignettes* m_cache;
    Chemins m_chemins;
    int m_largeur = 128;
};
