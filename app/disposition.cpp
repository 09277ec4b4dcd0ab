#include "app/phylacto.h"

#include "dialogs/labelclickable.h"
#include "settings/parametres.h"
#include "ui_phylacto.h"

#include <QHeaderView>
#include <QSettings>
#include <QStyle>

using Parametres::Cle;

namespace {

// The described picture (250 × 250 by expanding) until the label can hold a
// larger one whole.
QPixmap couvertureALaTaille(const QPixmap& image, const QSize& place)
{
    if (image.isNull())
        return image;
    const QPixmap decrite
        = image.scaled(250, 250, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const QSize ajustee = image.size().scaled(place, Qt::KeepAspectRatio);
    if (ajustee.width() < decrite.width() || ajustee.height() < decrite.height())
        return decrite;
    return image.scaled(ajustee, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QList<int> entiers(const QString& texte)
{
    QList<int> valeurs;
    for (const QString& morceau : texte.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int valeur = morceau.toInt(&ok);
        if (!ok || valeur <= 0)
            return {};
        valeurs.append(valeur);
    }
    return valeurs;
}

QString texteEntiers(const QList<int>& valeurs)
{
    QStringList morceaux;
    for (int valeur : valeurs)
        morceaux.append(QString::number(valeur));
    return morceaux.join(QLatin1Char(','));
}

} // namespace

void Phylacto::preparerDisposition()
{
    // The default window keeps its proportions; extra room follows the stretches.
    ui->splitterPrincipal->setSizes({ 330, 280, 270, 210 });

    // Greyed text of a disabled field is hard to read; they only show values.
    for (QLineEdit* champ : champsDetail()) {
        QPalette palette = champ->palette();
        for (QPalette::ColorRole role : { QPalette::Text, QPalette::WindowText })
            palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
        champ->setPalette(palette);
    }

    // However narrow the window, the splitter leaves each panel usable: the
    // album table shows its volume column and 20 characters of a title, a
    // detail field 12 characters.
    const int caractere = fontMetrics().averageCharWidth();
    ui->LstAlbum->setMinimumWidth(largeurNumero + 20 * caractere + 2 * ui->LstAlbum->frameWidth()
        + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    for (QLineEdit* champ : champsDetail())
        champ->setMinimumWidth(12 * caractere);

    // The picture follows the label, not the other way round.
    ui->LabelImage->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    ui->LabelImage->installEventFilter(this);
}

void Phylacto::afficherCouverture()
{
    ui->LabelImage->setPixmap(
        couvertureALaTaille(m_couverture, ui->LabelImage->contentsRect().size()));
}

void Phylacto::restaurerDisposition(QSettings* disposition)
{
    m_disposition = disposition;
    if (!m_disposition)
        return;
    const QByteArray geometrie = QByteArray::fromBase64(
        Parametres::lire(*m_disposition, Cle::FenetreGeometrie).toLatin1());
    if (!geometrie.isEmpty())
        restoreGeometry(geometrie);
    const QList<int> separateurs
        = entiers(Parametres::lire(*m_disposition, Cle::FenetreSeparateurs));
    if (separateurs.size() == ui->splitterPrincipal->count())
        ui->splitterPrincipal->setSizes(separateurs);
    const QList<int> colonnes = entiers(Parametres::lire(*m_disposition, Cle::FenetreColonnes));
    for (int colonne = 0; colonne < colonnes.size() && colonne < ui->LstAlbum->columnCount();
         ++colonne)
        ui->LstAlbum->setColumnWidth(colonne, colonnes.at(colonne));
}

void Phylacto::memoriserDisposition()
{
    if (!m_disposition)
        return;
    Parametres::ecrire(
        *m_disposition, Cle::FenetreGeometrie, QString::fromLatin1(saveGeometry().toBase64()));
    // The widths of the table's view, even when the wall is shown.
    Parametres::ecrire(*m_disposition, Cle::FenetreSeparateurs,
        texteEntiers(
            m_separateursTable.isEmpty() ? ui->splitterPrincipal->sizes() : m_separateursTable));
    QList<int> colonnes;
    for (int colonne = 0; colonne < ui->LstAlbum->columnCount(); ++colonne)
        colonnes.append(ui->LstAlbum->columnWidth(colonne));
    Parametres::ecrire(*m_disposition, Cle::FenetreColonnes, texteEntiers(colonnes));
    m_disposition->sync();
}
