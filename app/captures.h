#pragma once

#include <QObject>
#include <QSize>
#include <QString>

class Phylacto;

// Pictures of the main window and of each dialog, for checking the look under
// a real window manager: the whole screen is taken, decorations included.
class Captures : public QObject
{
    Q_OBJECT

public:
    Captures(Phylacto* fenetre, const QString& dossier);
    // Takes every picture in turn, then quits the application.
    void lancer();

private:
    void etape();
    // Saves the screen, cut to that window's frame unless it is null.
    void prendre(const QString& nom, QWidget* cadre);
    void fermerDialogues();
    void declencher(const QString& action);
    // In the statistics window: the charts' tab, that chart.
    void montrerGraphique(int rang);
    void montrerAjoutCatalogue();

    Phylacto* m_fenetre;
    QString m_dossier;
    int m_etape = 0;
    QSize m_taille; // of the main window before it is narrowed
    bool m_reussi = true;
};
