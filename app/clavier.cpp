#include "app/phylacto.h"

#include "ui_phylacto.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

void Phylacto::preparerClavier()
{
    QList<QKeySequence> preferences = QKeySequence::keyBindings(QKeySequence::Preferences);
    if (preferences.isEmpty())
        preferences.append(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    ui->actionConfiguration_reseau->setShortcuts(preferences);
    QList<QKeySequence> retablir = ui->actionRetablir->shortcuts();
    QList<QKeySequence> autres = QKeySequence::keyBindings(QKeySequence::Redo);
    autres.append(QKeySequence(Qt::CTRL | Qt::Key_Y));
    for (const QKeySequence& touche : std::as_const(autres)) {
        if (!retablir.contains(touche))
            retablir.append(touche);
    }
    ui->actionRetablir->setShortcuts(retablir);

    // Shown in the context menu; the key itself is read by the table below.
    actionSuppAlbum->setShortcut(QKeySequence::Delete);
    actionSuppAlbum->setShortcutContext(Qt::WidgetShortcut);

    ui->LstAlbum->installEventFilter(this);
    for (QListWidget* liste : listesSeries())
        liste->installEventFilter(this);
}

bool Phylacto::eventFilter(QObject* objet, QEvent* evenement)
{
    if (!ui)
        return false;
    if (objet == ui->LabelImage && evenement->type() == QEvent::Resize)
        afficherCouverture();
    // The index is rebuilt as the search field is entered, not at the first
    // keystroke after a change.
    if (objet == ui->leRechercheRapide && evenement->type() == QEvent::FocusIn)
        m_indexRecherche.preparer(catalogue);
    auto* vue = qobject_cast<QAbstractItemView*>(objet);
    if (!vue)
        return QMainWindow::eventFilter(objet, evenement);

    if (evenement->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent*>(evenement)->reason() == QContextMenuEvent::Keyboard) {
        // Already opened from the key press.
        return true;
    }
    if (evenement->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(objet, evenement);

    const auto* touche = static_cast<QKeyEvent*>(evenement);
    const Qt::KeyboardModifiers modificateurs = touche->modifiers() & ~Qt::KeypadModifier;
    if (touche->key() == Qt::Key_Menu
        || (touche->key() == Qt::Key_F10 && modificateurs == Qt::ShiftModifier)) {
        montrerMenuContextuel(vue);
        return true;
    }
    if (!vueAlbums(vue) || modificateurs != Qt::NoModifier)
        return QMainWindow::eventFilter(objet, evenement);
    if (touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter) {
        modifierAlbumCourant();
        return true;
    }
    if (touche->key() == Qt::Key_Delete) {
        actionSuppAlbum->trigger();
        return true;
    }
    return QMainWindow::eventFilter(objet, evenement);
}

bool Phylacto::vueAlbums(const QWidget* vue) const
{
    return vue == ui->LstAlbum || vue == ui->vueMurCouvertures;
}

void Phylacto::montrerMenuContextuel(QWidget* vue)
{
    auto* vueElements = qobject_cast<QAbstractItemView*>(vue);
    QPoint position = vue->rect().center();
    if (vueElements && vueElements->currentIndex().isValid()) {
        const QRect cellule = vueElements->visualRect(vueElements->currentIndex());
        position = vueElements->viewport()->mapTo(vue, cellule.bottomLeft());
    }
    afficherMenu(vueAlbums(vue), vue->mapToGlobal(position));
}

void Phylacto::modifierAlbumCourant()
{
    const QTableWidgetItem* courant = ui->LstAlbum->currentItem();
    if (!courant)
        return;
    // The form opens from a title cell, whichever cell the keyboard is on.
    ui->LstAlbum->setCurrentCell(courant->row(), 1);
    ModifAlbum(ui->LstAlbum->currentIndex());
}
