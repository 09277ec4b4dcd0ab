#include "dialogs/graphiques.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCoreApplication>
#include <QHorizontalBarSeries>
#include <QPalette>
#include <QPieSeries>
#include <QPieSlice>
#include <QValueAxis>

#include <cmath>

namespace {

// Okabe and Ito's colours, told apart by colour-blind eyes too: the darker
// ones on a light background, the lighter ones on a dark background.
QList<QColor> couleurs(const QPalette& palette)
{
    if (palette.color(QPalette::Window).lightness() < 128)
        return { QColor(0x56B4E9), QColor(0xE69F00), QColor(0x2FC79A), QColor(0xDE8FC0),
            QColor(0xF0E442), QColor(0xFF8A4C) };
    return { QColor(0x0072B2), QColor(0xD55E00), QColor(0x009E73), QColor(0xAA4C8A),
        QColor(0xB07800), QColor(0x3D8FC2) };
}

// A step of 1, 2 or 5 times a power of ten giving at most about six ticks.
double pasGraduation(int maximum)
{
    double puissance = 1;
    while (maximum / puissance > 60)
        puissance *= 10;
    for (const double facteur : { 1.0, 2.0, 5.0, 10.0 }) {
        if (maximum / (facteur * puissance) <= 6)
            return facteur * puissance;
    }
    return 10 * puissance;
}

void secteurs(QChart* graphique, const Statistiques::Graphique& figures, const QPalette& palette)
{
    const QList<QColor> teintes = couleurs(palette);
    int total = 0;
    for (int valeur : figures.valeurs)
        total += valeur;
    auto* parts = new QPieSeries;
    for (int rang = 0; rang < figures.valeurs.size(); ++rang) {
        const int valeur = figures.valeurs.at(rang);
        if (valeur <= 0)
            continue;
        QPieSlice* part
            = parts->append(QCoreApplication::translate("FenetreStatistiques", "%1 : %2 (%3 %)")
                                .arg(figures.etiquettes.value(rang), QString::number(valeur),
                                    QString::number(qRound(100.0 * valeur / total))),
                valeur);
        part->setColor(teintes.at(rang % teintes.size()));
        part->setBorderColor(palette.color(QPalette::Window));
        part->setLabelColor(palette.color(QPalette::WindowText));
        part->setLabelVisible(true);
    }
    parts->setPieSize(0.6);
    graphique->addSeries(parts);
}

void barres(QChart* graphique, const Statistiques::Graphique& figures, const QPalette& palette)
{
    // Lying bars: the names read across, the first at the top.
    const QColor teinte = couleurs(palette).first();
    const QColor texte = palette.color(QPalette::WindowText);
    auto* ensemble = new QBarSet(figures.titre);
    ensemble->setColor(teinte);
    ensemble->setBorderColor(teinte);
    ensemble->setLabelColor(texte);
    QStringList categories;
    int maximum = 1;
    for (qsizetype rang = figures.valeurs.size() - 1; rang >= 0; --rang) {
        ensemble->append(figures.valeurs.at(rang));
        categories.append(figures.etiquettes.value(rang));
        maximum = qMax(maximum, figures.valeurs.at(rang));
    }
    auto* serie = new QHorizontalBarSeries;
    serie->append(ensemble);
    serie->setLabelsVisible(true);
    serie->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    graphique->addSeries(serie);

    auto* axeNoms = new QBarCategoryAxis;
    axeNoms->append(categories);
    axeNoms->setGridLineVisible(false);
    auto* axeValeurs = new QValueAxis;
    const double pas = pasGraduation(maximum);
    // Room past the longest bar for its figure.
    axeValeurs->setRange(0, std::ceil(maximum * 1.15 / pas) * pas);
    axeValeurs->setTickType(QValueAxis::TicksDynamic);
    axeValeurs->setTickAnchor(0);
    axeValeurs->setTickInterval(pas);
    axeValeurs->setLabelFormat(QStringLiteral("%d"));
    for (QAbstractAxis* axe : std::initializer_list<QAbstractAxis*> { axeNoms, axeValeurs }) {
        axe->setLabelsColor(texte);
        axe->setLinePenColor(palette.color(QPalette::Mid));
        axe->setGridLineColor(palette.color(QPalette::Mid));
    }
    graphique->addAxis(axeNoms, Qt::AlignLeft);
    graphique->addAxis(axeValeurs, Qt::AlignBottom);
    serie->attachAxis(axeNoms);
    serie->attachAxis(axeValeurs);
}

} // namespace

namespace Graphiques {

QChart* creer(const Statistiques::Graphique& figures, const QPalette& palette)
{
    auto* graphique = new QChart;
    graphique->setAnimationOptions(QChart::NoAnimation);
    graphique->setBackgroundVisible(false);
    graphique->setMargins(QMargins(4, 4, 4, 4));
    graphique->setTitle(figures.titre);
    graphique->setTitleBrush(palette.color(QPalette::WindowText));
    QFont police = graphique->titleFont();
    police.setBold(true);
    graphique->setTitleFont(police);
    graphique->legend()->hide();
    if (figures.forme == Statistiques::Graphique::Secteurs)
        secteurs(graphique, figures, palette);
    else
        barres(graphique, figures, palette);
    return graphique;
}

} // namespace Graphiques
