#pragma once

#include "model/bd.h"
#include "model/catalogue.h"

#include <QString>

#include <memory>

// An entry of the Edition menu naming a step ("Annuler la suppression de…"):
// whole when it is short, else cut to longueur characters ending with "…",
// so that a long title does not widen the menu to the screen.
QString entreeDeMenu(const QString& entree, int longueur = 40);

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

// Albums appended by the attach steps (an entry, a batch, an import), in
// order. Undone, they leave with the series they created and the series they
// joined get back their volume and finished mark; while they are out, the
// change owns them. Redone, they are attached again in the same order.
class AjoutAlbums : public ModificationCatalogue
{
public:
    // avant was read by Catalogue::releverSeries() just before the albums
    // were attached; the albums are those appended since.
    AjoutAlbums(const QString& texte, const Catalogue& catalogue, SeriesAvantAjout avant);
    ~AjoutAlbums() override;
    void refaire(Catalogue& catalogue) override;
    void annuler(Catalogue& catalogue) override;
    BD* albumAMontrer() const override;

private:
    SeriesAvantAjout m_avant;
    QList<BD*> m_albums;
    bool m_retires = false;
};

// A series renamed; onto an existing series, merged into it (see
// Catalogue::renommerSerie). Made by the recording. Undone, the albums get
// their name back, a merged series returns where it stood and the one it
// joined gets back its volume and finished mark; while merged, it owns the
// series record that left.
class RenommageSerie : public ModificationCatalogue
{
public:
    RenommageSerie(const QString& ancien, const QString& nouveau);
    ~RenommageSerie() override;
    void refaire(Catalogue& catalogue) override;
    void annuler(Catalogue& catalogue) override;
    BD* albumAMontrer() const override { return m_renommee.albums.value(0); }

private:
    QString m_ancien;
    QString m_nouveau;
    SerieRenommee m_renommee; // fait while the rename is in the catalogue
};

// The whole content of the catalogue replaced by another (a restore), made
// before it is recorded. Undone, the content before comes back whole, series
// lists included; redone, the other one again. It owns the content that is out.
class RemplacementCatalogue : public ModificationCatalogue
{
public:
    // autre holds the content that was replaced.
    RemplacementCatalogue(const QString& texte, std::unique_ptr<Catalogue> autre);
    void refaire(Catalogue& catalogue) override;
    void annuler(Catalogue& catalogue) override;
    BD* albumAMontrer() const override { return nullptr; }

private:
    std::unique_ptr<Catalogue> m_autre;
    bool m_remplace = true;
};
