#include "dialogs/boites.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QPointer>
#include <QQueue>

namespace Boites {

namespace {

struct EtatTest
{
    bool automatique = false;
    QQueue<QMessageBox::StandardButton> reponses;
    QQueue<QString> fichiers;
    QQueue<QString> textes;
    QQueue<std::function<void(QWidget*)>> etapes;
    QList<Boite> vues;
    QStringList modaux;
    int nbFichiers = 0;
};

EtatTest& etat()
{
    static EtatTest e;
    return e;
}

QString prochainFichier()
{
    ++etat().nbFichiers;
    return etat().fichiers.isEmpty() ? QString() : etat().fichiers.dequeue();
}

void etapeSuivante(QWidget* modal)
{
    if (!etat().etapes.isEmpty())
        etat().etapes.dequeue()(modal);
}

} // namespace

QMessageBox::StandardButton montrer(const Boite& boite)
{
    if (etat().automatique) {
        etat().vues.append(boite);
        if (!etat().reponses.isEmpty())
            return etat().reponses.dequeue();
        return boite.boutonParDefaut != QMessageBox::NoButton ? boite.boutonParDefaut
                                                              : QMessageBox::Ok;
    }
    QMessageBox question(boite.parent);
    question.setIcon(boite.icone);
    if (!boite.image.isNull())
        question.setIconPixmap(boite.image);
    if (!boite.titre.isEmpty())
        question.setWindowTitle(boite.titre);
    question.setText(boite.texte);
    if (!boite.texteInformatif.isEmpty())
        question.setInformativeText(boite.texteInformatif);
    question.setStandardButtons(boite.boutons);
    for (auto libelle = boite.libelles.cbegin(); libelle != boite.libelles.cend(); ++libelle) {
        if (QAbstractButton* bouton = question.button(libelle.key()))
            bouton->setText(libelle.value());
    }
    if (boite.boutonParDefaut != QMessageBox::NoButton)
        question.setDefaultButton(boite.boutonParDefaut);
    return QMessageBox::StandardButton(question.exec());
}

void informer(const QString& texte)
{
    Boite boite;
    boite.texte = texte;
    montrer(boite);
}

void aProposDeQt(QWidget* parent, const QString& titre)
{
    if (etat().automatique) {
        Boite boite;
        boite.parent = parent;
        boite.titre = titre;
        etat().vues.append(boite);
        return;
    }
    QMessageBox::aboutQt(parent, titre);
}

QString fichierAOuvrir(
    QWidget* parent, const QString& titre, const QString& dossier, const QString& filtres)
{
    if (etat().automatique)
        return prochainFichier();
    return QFileDialog::getOpenFileName(parent, titre, dossier, filtres);
}

QString fichierAEnregistrer(
    QWidget* parent, const QString& titre, const QString& dossier, const QString& filtres)
{
    if (etat().automatique)
        return prochainFichier();
    return QFileDialog::getSaveFileName(parent, titre, dossier, filtres);
}

QString texteSaisi(
    QWidget* parent, const QString& titre, const QString& libelle, const QString& texte)
{
    if (etat().automatique)
        return etat().textes.isEmpty() ? QString() : etat().textes.dequeue();
    bool valide = false;
    const QString saisi
        = QInputDialog::getText(parent, titre, libelle, QLineEdit::Normal, texte, &valide);
    return valide ? saisi : QString();
}

int executer(QDialog* dialogue)
{
    if (!etat().automatique)
        return dialogue->exec();
    etat().modaux.append(dialogue->windowTitle());
    QPointer<QDialog> ouvert = dialogue;
    dialogue->setWindowModality(Qt::ApplicationModal);
    dialogue->show();
    etapeSuivante(dialogue);
    if (!ouvert)
        return QDialog::Rejected;
    if (ouvert->isVisible())
        ouvert->reject();
    return ouvert->result();
}

QAction* executer(QMenu* menu, const QPoint& position)
{
    if (!etat().automatique)
        return menu->exec(position);
    etat().modaux.append(QStringLiteral("menu"));
    QPointer<QAction> choisie;
    const QMetaObject::Connection suivi
        = QObject::connect(menu, &QMenu::triggered, menu, [&choisie](QAction* a) { choisie = a; });
    etapeSuivante(menu);
    QObject::disconnect(suivi);
    return choisie;
}

void setAutomatique(bool automatique)
{
    etat().automatique = automatique;
}

bool automatique()
{
    return etat().automatique;
}

void setProchaineReponse(QMessageBox::StandardButton bouton)
{
    etat().reponses.enqueue(bouton);
}

void setProchainFichier(const QString& chemin)
{
    etat().fichiers.enqueue(chemin);
}

void setProchainTexte(const QString& texte)
{
    etat().textes.enqueue(texte);
}

void setProchaineEtape(const std::function<void(QWidget*)>& etape)
{
    etat().etapes.enqueue(etape);
}

int etapesEnAttente()
{
    return int(etat().etapes.size());
}

QStringList modauxVus()
{
    return etat().modaux;
}

const QList<Boite>& boitesVues()
{
    return etat().vues;
}

QStringList textesVus()
{
    QStringList textes;
    for (const Boite& boite : etat().vues)
        textes.append(boite.texte);
    return textes;
}

int nbDialoguesFichier()
{
    return etat().nbFichiers;
}

void oublier()
{
    etat() = EtatTest { etat().automatique, {}, {}, {}, {}, {}, {}, 0 };
}

} // namespace Boites
