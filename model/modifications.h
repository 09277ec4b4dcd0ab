#pragma once

#include "model/bd.h"
#include "model/catalogue.h"

#include <QString>

// One change of the catalogue that can be undone and redone. Whoever records
// it has already made it and shown it; refaire() is called once more when it
// is recorded, so it must accept a change already made.
class ModificationCatalogue
{
public:
    explicit ModificationCatalogue(const QString& texte)
        : m_texte(texte)
    {
    }
    virtual ~ModificationCatalogue() = default;
    ModificationCatalogue(const ModificationCatalogue&) = delete;
    ModificationCatalogue& operator=(const ModificationCatalogue&) = delete;

    // What the change was, as the undo and redo entries name it.
    QString texte() const { return m_texte; }
    virtual void refaire(Catalogue& catalogue) = 0;
    virtual void annuler(Catalogue& catalogue) = 0;
    // The album to show once the change is undone or redone, if any.
    virtual BD* albumAMontrer() const = 0;

private:
    QString m_texte;
};

// Takes one album out; while it is out, the change owns it.
class SuppressionAlbum : public ModificationCatalogue
{
public:
    explicit SuppressionAlbum(BD* album);
    ~SuppressionAlbum() override;
    void refaire(Catalogue& catalogue) override;
    void annuler(Catalogue& catalogue) override;
    BD* albumAMontrer() const override { return m_retire ? nullptr : m_album; }

private:
    BD* m_album;
    int m_position = -1;
    bool m_retire = false;
};

// Takes a series out with its albums; while they are out, the change owns them.
class SuppressionSerie : public ModificationCatalogue
{
public:
    explicit SuppressionSerie(const QString& nom);
    ~SuppressionSerie() override { oublier(); }
    void refaire(Catalogue& catalogue) override;
    void annuler(Catalogue& catalogue) override;
    BD* albumAMontrer() const override;

private:
    void oublier();

    QString m_nom;
    SerieRetiree m_retiree;
    bool m_retire = false;
};

// A change of an album's fields already made (through the form, a loan, a
// return): its fields before and after, and the series it joined as it was.
class ChangementAlbum : public ModificationCatalogue
{
public:
    ChangementAlbum(
        const QString& texte, BD* album, const ChampsAlbum& avant, const EtatSerie& serieAvant);
    void refaire(Catalogue& catalogue) override { catalogue.changerChamps(m_album, m_apres); }
    void annuler(Catalogue& catalogue) override;
    BD* albumAMontrer() const override { return m_album; }

private:
    BD* m_album;
    ChampsAlbum m_avant;
    ChampsAlbum m_apres;
    EtatSerie m_serieAvant;
};
