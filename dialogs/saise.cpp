#include "dialogs/saise.h"

#include "dialogs/boites.h"
#include "model/bd.h"
#include "model/catalogue.h"
#include "model/validateurtome.h"
#include "ui_saise.h"

#include <QSet>

namespace {

// Texts of the albums' field that the combo box does not hold yet, in order of
// first appearance.
QStringList valeursManquantes(
    const QComboBox* liste, const QList<BD*>& albums, QString (BD::*champ)() const)
{
    QSet<QString> connues;
    for (int i = 0; i < liste->count(); ++i)
        connues.insert(liste->itemText(i));
    QStringList manquantes;
    for (const BD* album : albums) {
        const QString valeur = (album->*champ)();
        if (!connues.contains(valeur)) {
            connues.insert(valeur);
            manquantes.append(valeur);
        }
    }
    return manquantes;
}

void selectionnerTexte(QComboBox* liste, const QString& texte)
{
    const int index = liste->findText(texte, Qt::MatchExactly | Qt::MatchCaseSensitive);
    liste->setCurrentIndex(index);
    if (index < 0)
        liste->setEditText(QString());
}

} // namespace

Saise::Saise(BD* album, QWidget* parent, const QList<BD*>& albums)
    : QDialog(parent)
    , ui(new Ui::Saise)
{
    ui->setupUi(this);
    connect(ui->pbValider, &QPushButton::clicked, this, &Saise::transmissioinDonnee);
    connect(ui->pbAnnuler, &QPushButton::clicked, this, &Saise::close);

    etendreListes(albums);
    ui->leTome->setValidator(new ValidateurTome(ui->leTome));
    ui->leTome->setText(QStringLiteral("0"));
    if (album)
        preRemplir(album);
}

Saise::~Saise()
{
    delete ui;
}

void Saise::etendreListes(const QList<BD*>& albums)
{
    ui->cbEditeur->addItems(valeursManquantes(ui->cbEditeur, albums, &BD::getEditeur));
    ui->cbGenre->addItems(valeursManquantes(ui->cbGenre, albums, &BD::getGenre));
}

void Saise::preRemplir(const BD* album)
{
    selectionnerTexte(ui->cbEditeur, album->getEditeur());
    selectionnerTexte(ui->cbGenre, album->getGenre());
    ui->leSerie->setText(album->getSerie());
    ui->leDessinateur->setText(album->getDessinateur());
    ui->leScenariste->setText(album->getScenariste());
    ui->leColoriste->setText(album->getColoriste());
    ui->leTome->setText(QString::number(album->tome));
    ui->leNote->setText(QString::number(album->note));
    if (album->serieFinie != 0)
        ui->serieFinie->setChecked(true);
    switch (album->type) {
    case Comic:
        ui->rBComic->setChecked(true);
        break;
    case Manga:
        ui->rBManga->setChecked(true);
        break;
    default:
        ui->rBBDEuro->setChecked(true);
        break;
    }
}

void Saise::afficherTitre(const QString& titre)
{
    ui->leAlbum->setText(titre);
    update();
}

void Saise::afficherCommentaire(const QString& commentaire)
{
    ui->leComment->setText(commentaire);
}

void Saise::remplir(const ValeursAlbum& valeurs)
{
    ui->leSerie->setText(valeurs.serie);
    ui->leAlbum->setText(valeurs.titre);
    ui->leTome->setText(QString::number(valeurs.tome));
    ui->leDessinateur->setText(valeurs.dessinateur);
    ui->leScenariste->setText(valeurs.scenariste);
    ui->leColoriste->setText(valeurs.coloriste);
    ui->cbEditeur->setCurrentText(valeurs.editeur);
    ui->cbGenre->setCurrentText(valeurs.genre);
    ui->leComment->setText(valeurs.commentaire);
    ui->leNote->setText(QString::number(valeurs.note));
    (valeurs.type == Comic          ? ui->rBComic
            : valeurs.type == Manga ? ui->rBManga
                                    : ui->rBBDEuro)
        ->setChecked(true);
}

bool Saise::verifierSerie()
{
    if (!ui->leSerie->text().isEmpty())
        return true;
    Boites::informer(tr("Un nom de série est necessaire"));
    return false;
}

bool Saise::verifierCaracteres()
{
    const QList<QPair<QString, QString>> champs = {
        { ui->label->text(), ui->leSerie->text() },
        { ui->label_2->text(), ui->leAlbum->text() },
        { ui->label_5->text(), ui->leTome->text() },
        { ui->label_3->text(), ui->leDessinateur->text() },
        { ui->label_4->text(), ui->leScenariste->text() },
        { ui->label_10->text(), ui->leColoriste->text() },
        { ui->label_8->text(), ui->cbGenre->currentText() },
        { ui->label_9->text(), ui->cbEditeur->currentText() },
        { ui->label_7->text(), ui->leComment->text() },
        { ui->label_6->text(), ui->leNote->text() },
    };
    for (const auto& [nom, texte] : champs) {
        if (texte.contains(QLatin1Char(';'))) {
            Boites::informer(tr("Le caractère « ; » n'est pas autorisé dans le champ %1").arg(nom));
            return false;
        }
    }
    return true;
}

void Saise::transmissioinDonnee()
{
    if (!verifierSerie() || !verifierCaracteres())
        return;

    int type = Euro;
    if (ui->rBComic->isChecked())
        type = Comic;
    if (ui->rBManga->isChecked())
        type = Manga;

    QString titre = ui->leAlbum->text();
    if (titre.isEmpty())
        titre = QStringLiteral("Tome ") + ui->leTome->text();

    emit nouvelAlbum(ui->leSerie->text(), titre, ui->leScenariste->text(),
        ui->leDessinateur->text(), ui->leTome->text().toInt(), ui->leComment->text(), type,
        ui->leNote->text().toInt(), int(ui->serieFinie->checkState()), ui->cbEditeur->currentText(),
        ui->cbGenre->currentText(), ui->leColoriste->text());
    close();
}

void Saise::Verify(QAbstractButton* bouton)
{
    Q_UNUSED(bouton);
    verifierSerie();
}
