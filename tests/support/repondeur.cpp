#include "support/repondeur.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

RepondeurModal::RepondeurModal(QObject* parent)
    : QObject(parent)
{
    m_minuterie.setInterval(10);
    connect(&m_minuterie, &QTimer::timeout, this, &RepondeurModal::examiner);
    m_minuterie.start();
}

void RepondeurModal::repondreBoite(QMessageBox::StandardButton bouton)
{
    m_reponsesBoites.enqueue(bouton);
}

void RepondeurModal::repondreFichier(const QString& chemin)
{
    m_reponsesFichiers.enqueue(chemin);
}

void RepondeurModal::repondreMenu(const QString& texteAction)
{
    m_reponsesMenus.enqueue(texteAction);
}

QStringList RepondeurModal::textesBoites() const
{
    QStringList textes;
    for (const BoiteVue& boite : m_boites)
        textes.append(boite.texte);
    return textes;
}

void RepondeurModal::oublier()
{
    m_boites.clear();
    m_menus.clear();
    m_nbFichiers = 0;
}

void RepondeurModal::examiner()
{
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        QStringList textes;
        for (QAction* action : menu->actions())
            textes.append(action->text());
        m_menus.append(textes);
        const QString choix = m_reponsesMenus.isEmpty() ? QString() : m_reponsesMenus.dequeue();
        QAction* aDeclencher = nullptr;
        for (QAction* action : menu->actions()) {
            if (!choix.isEmpty() && action->text() == choix)
                aDeclencher = action;
        }
        if (aDeclencher) {
            menu->setActiveAction(aDeclencher);
            // Triggering through the menu closes it and returns it from exec().
            QMetaObject::invokeMethod(aDeclencher, &QAction::trigger, Qt::QueuedConnection);
        }
        menu->close();
        return;
    }

    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;

    if (auto* boite = qobject_cast<QMessageBox*>(modal)) {
        BoiteVue vue;
        vue.titre = boite->windowTitle();
        vue.texte = boite->text();
        vue.texteInformatif = boite->informativeText();
        vue.boutons = boite->standardButtons();
        vue.avecParent = boite->parentWidget() != nullptr;
        if (QPushButton* parDefaut = boite->defaultButton())
            vue.boutonParDefaut = boite->standardButton(parDefaut);
        m_boites.append(vue);

        QMessageBox::StandardButton reponse =
            m_reponsesBoites.isEmpty() ? QMessageBox::NoButton : m_reponsesBoites.dequeue();
        QAbstractButton* bouton = reponse != QMessageBox::NoButton ? boite->button(reponse) : nullptr;
        if (!bouton)
            bouton = boite->defaultButton();
        if (!bouton && !boite->buttons().isEmpty())
            bouton = boite->buttons().first();
        if (bouton)
            bouton->click();
        else
            boite->reject();
        return;
    }

    if (auto* dialogue = qobject_cast<QFileDialog*>(modal)) {
        // A dialog still there at the next look refused the answer (its file
        // list was still being filled): it gets the same answer again.
        if (m_dialogueFichier != dialogue) {
            m_dialogueFichier = dialogue;
            ++m_nbFichiers;
            m_titreFichier = dialogue->windowTitle();
            m_filtresFichier = dialogue->nameFilters();
            m_reponseFichier =
                m_reponsesFichiers.isEmpty() ? QString() : m_reponsesFichiers.dequeue();
        }
        const QString chemin = m_reponseFichier;
        if (chemin.isEmpty()) {
            dialogue->reject();
        } else {
            dialogue->selectFile(chemin);
            // selectFile() leaves the name field alone while it has the focus.
            if (auto* nom = dialogue->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                nom->setText(chemin);
            // accept() is protected on QFileDialog; QDialog's runs the same checks.
            static_cast<QDialog*>(dialogue)->accept();
        }
    }
}
