#pragma once

#include <QList>
#include <QMap>
#include <QMessageBox>
#include <QPixmap>
#include <QString>

#include <functional>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

// Every message box and file dialog of the program goes through here, so
// that a test answers them in advance instead of waiting on a window.
namespace Boites {

struct Boite
{
    QWidget* parent = nullptr;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QString titre;
    QString texte;
    QString texteInformatif;
    QMessageBox::StandardButtons boutons = QMessageBox::Ok;
    QMessageBox::StandardButton boutonParDefaut = QMessageBox::NoButton;
    QMap<QMessageBox::StandardButton, QString> libelles; // in place of Qt's own
    QPixmap image; // in place of the icon, when set
};

// Shows the box modally and returns the button pressed (Escape gives the
// escape button Qt chooses, Cancel when there is one).
QMessageBox::StandardButton montrer(const Boite& boite);
// A box with no parent, no title, one text and an OK button.
void informer(const QString& texte);

// QMessageBox::aboutQt; recorded with its title only.
void aProposDeQt(QWidget* parent, const QString& titre);

// QFileDialog::getOpenFileName / getSaveFileName; empty when cancelled.
QString fichierAOuvrir(
    QWidget* parent, const QString& titre, const QString& dossier, const QString& filtres);
QString fichierAEnregistrer(
    QWidget* parent, const QString& titre, const QString& dossier, const QString& filtres);

// QInputDialog::getText on one line, starting from texte; a null text when
// cancelled.
QString texteSaisi(
    QWidget* parent, const QString& titre, const QString& libelle, const QString& texte);

// QDialog::exec and QMenu::exec: the result code, the entry chosen (null: none).
int executer(QDialog* dialogue);
QAction* executer(QMenu* menu, const QPoint& position);

// For tests. Once automatic, no box, file or text dialog is shown any more: each
// takes the next queued answer, else its default button (OK when it has no
// default) or, for a file or text dialog, a cancel. A modal dialog or a menu blocks no
// more: it is shown and handed to the next queued step, which acts on it as
// the user would; what the step leaves open is closed (a menu: nothing chosen).
// Everything asked is recorded.
void setAutomatique(bool automatique);
bool automatique();
void setProchaineReponse(QMessageBox::StandardButton bouton);
void setProchainFichier(const QString& chemin);
void setProchainTexte(const QString& texte);
void setProchaineEtape(const std::function<void(QWidget*)>& etape);
int etapesEnAttente();
QStringList modauxVus(); // window title of each dialog run, "menu" for a menu
const QList<Boite>& boitesVues();
QStringList textesVus();
int nbDialoguesFichier();
void oublier(); // forgets what was seen and the answers still queued

} // namespace Boites
