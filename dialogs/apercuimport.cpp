#include "dialogs/apercuimport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ApercuImport::ApercuImport(const QString& texte, bool albumsAAjouter, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Importer depuis GCstar ou Tellico"));
    auto* disposition = new QVBoxLayout(this);
    auto* resume = new QLabel(texte, this);
    resume->setObjectName(QStringLiteral("lbApercuImport"));
    resume->setWordWrap(true);
    disposition->addWidget(resume);

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cbTypeImport"));
    // In the order of TypeBD.
    m_type->addItems({ tr("BD Euro"), tr("Comic"), tr("Manga") });
    auto* formulaire = new QFormLayout;
    formulaire->addRow(tr("Type des albums :"), m_type);
    disposition->addLayout(formulaire);
    m_type->setEnabled(albumsAAjouter);

    auto* boutons = new QDialogButtonBox(this);
    if (albumsAAjouter) {
        boutons->addButton(tr("Importer"), QDialogButtonBox::AcceptRole)
            ->setObjectName(QStringLiteral("pbImporter"));
        boutons->addButton(tr("Annuler"), QDialogButtonBox::RejectRole);
    } else {
        boutons->addButton(tr("Fermer"), QDialogButtonBox::RejectRole);
    }
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    disposition->addWidget(boutons);
}

int ApercuImport::type() const
{
    return m_type->currentIndex();
}
