#pragma once

#include <QDialog>

class QComboBox;

// What an import from another collection will add, and the kind to give the
// albums; "Importer" goes on.
class ApercuImport : public QDialog
{
    Q_OBJECT

public:
    // Without albums to add, only "Fermer" is offered.
    ApercuImport(const QString& texte, bool albumsAAjouter, QWidget* parent);

    int type() const; // TypeBD

private:
    QComboBox* m_type = nullptr;
};
