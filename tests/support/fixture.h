#pragma once

#include "app/phylacto.h"
#include "dialogs/boites.h"
#include "model/bd.h"

#include <QTextCodec>
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

// A scratch working folder with data/ and images/, current for the object's
// life. Boxes and file dialogs turn automatic and forget what they saw.
class DossierTravail
{
public:
    DossierTravail();
    ~DossierTravail() { QDir::setCurrent(m_ancien); }
    QString chemin(const QString& relatif = QString()) const;
    bool ecrire(const QString& relatif, const QByteArray& contenu) const;
    QByteArray lire(const QString& relatif) const;
    bool parametres(const QStringList& cles) const; // "GROUP/Key=value" each
    QString parametre(const QString& cle) const;
    // The collection file, named with its encoding in the settings.
    bool collection(const QByteArray& lignes, const QString& encodage = QStringLiteral("UTF-8"),
        const QString& nom = QStringLiteral("collection.csv")) const;

private:
    QTemporaryDir m_dossier;
    QString m_ancien;
};

// A line of 20 fields: artist "Dessinateur", writer "Scenariste", colourist "Coloriste".
QByteArray ligneAlbum(const QString& serie, const QString& titre, int tome = 1, int type = 0,
    const QString& image = QString(), const QString& emprunteur = QString());
// PNG bytes of one colour, or of noise (which does not compress) when seeded.
QByteArray imagePng(int largeur, int hauteur, const QColor& couleur = Qt::red, quint32 graine = 0);
BD* albumTest(const QString& serie, const QString& titre, int tome = 1, int type = 0); // of that line

template <typename T = QWidget> T* enfant(const QObject* parent, const QString& nom)
{
    return parent ? parent->findChild<T*>(nom) : nullptr;
}
// Triggers an enabled action of the window and runs the events it posted.
bool declencherAction(QWidget* fenetre, const QString& nomAction);
// Sets "objectName=text" fields (line edits, combo boxes, spin boxes), clicks the buttons named alone.
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
    template <typename T = QWidget> T* w(const QString& nom) const { return enfant<T>(fenetre.get(), nom); }
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

// Acts on what exec() shows (a modal dialog, a popup menu): the first queued
// step is called with it every 10 ms until it returns true. A widget left
// unfinished after 10 s, with or without a step, is closed and counted in
// 'expirees', so no test waits for ever.
class Modaux : public QObject
{
public:
    Modaux();
    void puis(const std::function<bool(QWidget*)>& etape) { m_etapes.enqueue(etape); }
    int restantes() const { return int(m_etapes.size()); }
    int expirees = 0;
    QStringList titres; // of each widget a step was called with

private:
    QTimer m_minuterie;
    QQueue<std::function<bool(QWidget*)>> m_etapes;
    QWidget* m_dernier = nullptr;
    QElapsedTimer m_depuis;
};
