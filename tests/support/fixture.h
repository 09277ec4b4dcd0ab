#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class BD;
class Phylacto;

// A scratch working folder with data/ and images/, current for the object's
// life. Boxes and file dialogs turn automatic and forget what they saw.
class DossierTravail
{
public:
    DossierTravail();
    ~DossierTravail();

    QString chemin(const QString& relatif = QString()) const;
    bool ecrire(const QString& relatif, const QByteArray& contenu) const;
    QByteArray lire(const QString& relatif) const;
    // Keys of data/settings.ini, "GROUP/Key=value" each.
    bool parametres(const QStringList& cles) const;
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
// The album of that line, for tests on the model.
BD* albumTest(const QString& serie, const QString& titre, int tome = 1, int type = 0);

template <typename T = QWidget>
T* enfant(const QObject* parent, const QString& nom)
{
    return parent ? parent->findChild<T*>(nom) : nullptr;
}

// Triggers an enabled action of the window and runs the events it posted.
bool declencherAction(QWidget* fenetre, const QString& nomAction);
// Clicks a push button of parent; false when there is none.
bool cliquer(const QObject* parent, const QString& bouton);
// Runs the events posted, deferred deletions included.
void traiterEvenements();

// A scratch folder and the main window opened on it. Message boxes and file
// dialogs are answered through Boites, automatically.
struct Scene : DossierTravail
{
    // Writes the collection file when lignes is not null.
    explicit Scene(const QByteArray& lignes = QByteArray(),
        const QString& encodage = QStringLiteral("UTF-8"));
    ~Scene();
    Phylacto& ouvrir();
    QWidget* racine() const;
    template <typename T = QWidget> T* w(const QString& nom) const
    {
        return enfant<T>(racine(), nom);
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
    using Etape = std::function<bool(QWidget*)>;
    Modaux();
    void puis(const Etape& etape) { m_etapes.enqueue(etape); }
    int restantes() const { return int(m_etapes.size()); }
    int expirees = 0;
    QStringList titres; // of each widget a step was called with

private:
    void examiner();
    QTimer m_minuterie;
    QQueue<Etape> m_etapes;
    QWidget* m_dernier = nullptr;
    QElapsedTimer m_depuis;
};
