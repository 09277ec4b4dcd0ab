#pragma once

#include "model/statistiques.h"

#include <QDialog>

class QChartView;

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

    // The chart shown as a PNG picture, in the file the user chooses.
    void enregistrerImage();

private:
    void montrerGraphique(int rang);

    Ui::FenetreStatistiques* ui = nullptr;
    QList<Statistiques::Graphique> m_graphiques;
    QChartView* m_vue = nullptr;
};
