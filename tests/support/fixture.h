#pragma once

#include "app/phylacto.h"
#include "dialogs/boites.h"
#include "support/dossier.h"

#include <QtWidgets>

#include <memory>

template <typename T = QWidget> T* enfant(const QObject* parent, const QString& nom)
{
    return parent ? parent->findChild<T*>(nom) : nullptr;
}
// Triggers an enabled action of the window and runs the events it posted.
bool declencherAction(QWidget* fenetre, const QString& nomAction);
// Sets "objectName=text" fields (line edits, combo boxes, spin boxes), clicks the buttons named
// alone.
bool remplir(QObject* parent, const QStringList& champs);
bool cliquer(const QObject* parent, const QString& bouton);
void traiterEvenements(); // deferred deletions included

// A scratch folder and the main window opened on it.
struct Scene : DossierTravail
{
    explicit Scene(const QByteArray& lignes = QByteArray())
    {
        if (!lignes.isNull())
            collection(lignes);
    }
    Phylacto& ouvrir() { return *(fenetre = std::make_unique<Phylacto>()); }
    template <typename T = QWidget> T* w(const QString& nom) const
    {
        return enfant<T>(fenetre.get(), nom);
    }
    template <typename T> T* dernier() const // the dialog of that class opened last
    {
        const QList<T*> tous = fenetre->findChildren<T*>();
        return tous.isEmpty() ? nullptr : tous.last();
    }
    // Texts of a list widget, or of one column of a table widget.
    QStringList textes(const QString& nom, int colonne = 0) const;
    // "LstSerie | E:LstBDEuro | C:LstComics | M:LstManga | [current series]
    // tome:titre of each row | the four counters | series/title/volume shown".
    QString resume() const;
    // Makes the series current, then the cell of that title (empty: none).
    bool choisir(const QString& serie, const QString& titre = QString());
    std::unique_ptr<Phylacto> fenetre;
};
