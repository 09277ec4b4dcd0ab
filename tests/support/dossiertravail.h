#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class Phylacto;
class QWidget;

// A scratch working directory for one test: entered at construction with
// "data" and "images" inside, left (and removed) at destruction.
class DossierTravail
{
public:
    DossierTravail();
    ~DossierTravail();

    QString chemin(const QString& relatif = QString()) const;
    bool valide() const { return m_dossier.isValid(); }

    // Writes data/settings.ini with these keys ("BASE/FileName" = value ...).
    void ecrireParametres(const QList<QPair<QString, QString>>& cles);
    // Writes the collection file and names it in the settings (UTF-8 unless said).
    void ecrireCollection(const QByteArray& contenu, const QString& nom = QStringLiteral("collection.csv"),
                          const QString& encodage = QStringLiteral("UTF-8"));
    void ecrireFichier(const QString& relatif, const QByteArray& contenu);
    QByteArray lireFichier(const QString& relatif) const;
    QString valeurParametre(const QString& cle) const;

private:
    QTemporaryDir m_dossier;
    QString m_ancienDossier;
};

// A line of 20 fields for a test collection.
QByteArray ligneAlbum(const QString& serie, const QString& titre, int tome, int type = 0,
                      const QString& image = QString(), const QString& emprunteur = QString());

// Finds a child by object name and type, failing loudly when absent.
template <typename T>
T* enfant(QWidget* parent, const QString& nom);

// Triggers a menu action of the window by object name (it must be enabled)
// and processes the events it posted.
bool declencherAction(QWidget* fenetre, const QString& nomAction);

#include <QWidget>

template <typename T>
T* enfant(QWidget* parent, const QString& nom)
{
    return parent ? parent->findChild<T*>(nom) : nullptr;
}
