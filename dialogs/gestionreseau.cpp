#include "dialogs/gestionreseau.h"

#include "covers/sourcescouvertures.h"
#include "settings/codecs.h"
#include "ui_gestionreseau.h"

#include <iterator>

GestionReseau::GestionReseau(QString aAdresse, QString aPort, QString aLogin, QString aPassword,
    QString aEncodage, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::GestionReseau)
{
    ui->setupUi(this);
    ui->cbEncodage->clear();
    ui->cbEncodage->addItems(Codecs::encodagesProposes());

    // The password never shows, whether or not a proxy was stored.
    ui->lePassw->setEchoMode(QLineEdit::Password);
    const bool avecProxy = !aAdresse.isEmpty();
    ui->cBProxy->setChecked(avecProxy);
    Upadtefield(avecProxy ? Qt::Checked : Qt::Unchecked);
    if (avecProxy) {
        ui->leAdresse->setText(aAdresse);
        ui->leport->setText(aPort);
        ui->leLogin->setText(aLogin);
        ui->lePassw->setText(aPassword);
    }

    const int index
        = ui->cbEncodage->findText(aEncodage, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ui->cbEncodage->setCurrentIndex(index >= 0 ? index : 0);

    connect(ui->pushAnnuler, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->pushValider, &QPushButton::clicked, this, &GestionReseau::RelayValidation);
    connect(ui->cBProxy, &QCheckBox::stateChanged, this, &GestionReseau::Upadtefield);
}

GestionReseau::~GestionReseau()
{
    delete ui;
}

void GestionReseau::setNbSauvegardes(int nombre)
{
    ui->sbSauvegardes->setValue(nombre);
}

namespace {
// In the order of the entries of cbSourceCouvertures.
const SourcesCouvertures::Source sourcesProposees[] = { SourcesCouvertures::Source::Signe,
    SourcesCouvertures::Source::Bnf, SourcesCouvertures::Source::OpenLibrary,
    SourcesCouvertures::Source::Auto };
}

void GestionReseau::setSourceCouvertures(const QString& source)
{
    const SourcesCouvertures::Source lue = SourcesCouvertures::lireSource(source);
    for (int i = 0; i < int(std::size(sourcesProposees)); ++i) {
        if (sourcesProposees[i] == lue)
            ui->cbSourceCouvertures->setCurrentIndex(i);
    }
}

void GestionReseau::Upadtefield(int state)
{
    const bool actif = state == Qt::Checked;
    ui->leAdresse->setEnabled(actif);
    ui->leport->setEnabled(actif);
    ui->leLogin->setEnabled(actif);
    ui->lePassw->setEnabled(actif);
}

void GestionReseau::RelayValidation()
{
    if (ui->cBProxy->checkState() != Qt::Unchecked)
        emit validationReseau(
            ui->leAdresse->text(), ui->leport->text(), ui->leLogin->text(), ui->lePassw->text());
    else
        emit validationReseau(QString(), QString(), QString(), QString());
    emit validationEncodage(ui->cbEncodage->currentText());
    emit validationSauvegardes(ui->sbSauvegardes->value());
    const int source = ui->cbSourceCouvertures->currentIndex();
    if (source >= 0 && source < int(std::size(sourcesProposees)))
        emit validationSourceCouvertures(SourcesCouvertures::texteSource(sourcesProposees[source]));
    close();
}
