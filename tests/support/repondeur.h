#pragma once

#include <QMessageBox>
#include <QObject>
#include <QQueue>
#include <QStringList>
#include <QTimer>

// Answers the modal message boxes, file dialogs and popup menus a test
// provokes, by polling QApplication::activeModalWidget() while their nested
// event loops run. Queued answers are used in order; without one, a message
// box gets its default button (OK), a file dialog is cancelled and a popup
// menu is closed. Everything seen is recorded.
class RepondeurModal : public QObject
{
    Q_OBJECT

public:
    explicit RepondeurModal(QObject* parent = nullptr);

    // Next message box: press this button (NoButton: its default one).
    void repondreBoite(QMessageBox::StandardButton bouton = QMessageBox::NoButton);
    // Next file dialog: choose this file (empty: cancel).
    void repondreFichier(const QString& chemin);
    // Next popup menu: trigger the entry with this text (empty: close it).
    void repondreMenu(const QString& texteAction);

    struct BoiteVue
    {
        QString titre;
        QString texte;
        QString texteInformatif;
        QMessageBox::StandardButtons boutons;
        QMessageBox::StandardButton boutonParDefaut = QMessageBox::NoButton;
        bool avecParent = false;
    };
    const QList<BoiteVue>& boites() const { return m_boites; }
    QStringList textesBoites() const;
    int nbDialoguesFichier() const { return m_nbFichiers; }
    QString titreDernierDialogueFichier() const { return m_titreFichier; }
    QStringList filtresDernierDialogueFichier() const { return m_filtresFichier; }
    const QList<QStringList>& menus() const { return m_menus; }
    void oublier();

private:
    void examiner();

    QTimer m_minuterie;
    QQueue<QMessageBox::StandardButton> m_reponsesBoites;
    QQueue<QString> m_reponsesFichiers;
    QQueue<QString> m_reponsesMenus;
    QList<BoiteVue> m_boites;
    QList<QStringList> m_menus;
    int m_nbFichiers = 0;
    QString m_titreFichier;
    QStringList m_filtresFichier;
};
