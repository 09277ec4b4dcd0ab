#pragma once

#include "store/sauvegardes.h"

#include <QDialog>
#include <QList>

namespace Ui {
class Restauration;
}

// The dated backups of the collection, newest first; "Restaurer" hands the
// chosen one to the opener, which asks and restores.
class Restauration : public QDialog
{
    Q_OBJECT

public:
    Restauration(const QList<Sauvegardes::Sauvegarde>& sauvegardes, const QString& nomCollection,
        QWidget* parent);
    ~Restauration() override;

signals:
    void restaurationDemandee(const Sauvegardes::Sauvegarde& sauvegarde);

private:
    Ui::Restauration* ui = nullptr;
    QList<Sauvegardes::Sauvegarde> sauvegardes;
};
