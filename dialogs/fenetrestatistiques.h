#pragma once

#include <QDialog>

struct Statistiques;

namespace Ui {
class FenetreStatistiques;
}

// The figures of the catalogue as they were when the dialog opened.
class FenetreStatistiques : public QDialog
{
    Q_OBJECT

public:
    FenetreStatistiques(const Statistiques& statistiques, QWidget* parent);
    ~FenetreStatistiques() override;

private:
    Ui::FenetreStatistiques* ui = nullptr;
};
