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

void RepondeurModal::traiterDialogue(const EtapeDialogue& etape)
{
    m_etapesDialogues.enqueue(etape);
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
    m_titresDialogues.clear();
    m_dernierDialogue = nullptr;
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
        ++m_nbFichiers;
        m_titreFichier = dialogue->windowTitle();
        m_filtresFichier = dialogue->nameFilters();
        const QString chemin =
            m_reponsesFichiers.isEmpty() ? QString() : m_reponsesFichiers.dequeue();
        if (chemin.isEmpty()) {
            dialogue->reject();
        } else {
            // selectFile() leaves the name edit alone while it has the focus.
            if (auto* nom = dialogue->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                nom->clearFocus();
            dialogue->selectFile(chemin);
            // accept() may ask its own question ("replace it?") while this poll
            // runs, and a timer does not fire again inside its own slot: a
            // second one answers meanwhile.
            QTimer imbriquee;
            imbriquee.setInterval(10);
            connect(&imbriquee, &QTimer::timeout, this, &RepondeurModal::examiner);
            imbriquee.start();
            // accept() is protected on QFileDialog; QDialog's runs the same checks.
            static_cast<QDialog*>(dialogue)->accept();
        }
        return;
    }

    auto* dialogue = qobject_cast<QDialog*>(modal);
    if (!dialogue || m_etapesDialogues.isEmpty())
        return;
    if (dialogue != m_dernierDialogue) {
        // A new dialog may reuse a deleted one's address: compare only to spot
        // a change, never dereference the old one.
        m_dernierDialogue = dialogue;
        m_titresDialogues.append(dialogue->windowTitle());
        connect(dialogue, &QObject::destroyed, this, [this, dialogue]() {
            if (m_dernierDialogue == dialogue)
                m_dernierDialogue = nullptr;
        });
    }
    // Taken out before the call: a step may run an event loop of its own.
    EtapeDialogue etape = m_etapesDialogues.head();
    if (etape(dialogue) && !m_etapesDialogues.isEmpty())
        m_etapesDialogues.dequeue();
}
