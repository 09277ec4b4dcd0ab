#pragma once

#include <QByteArray>
#include <QCache>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <map>

// Thumbnails of the cover files for the wall. Pictures are decoded at the
// size shown by a pool of threads, never by the interface thread; each is
// kept on disk (one entry per picture, checked by a checksum before it is
// believed) and, up to a number of bytes, in memory.
class CacheVignettes : public QObject
{
    Q_OBJECT

public:
    // Entries on disk fit this box; a smaller thumbnail is scaled from it.
    static constexpr QSize boiteDisque { 256, 384 };
    static constexpr qint64 octetsMemoireParDefaut = qint64(48) << 20;

    // dossier: the disk entries' folder; empty for "vignettes" in the per-user
    // cache folder (QStandardPaths::CacheLocation).
    explicit CacheVignettes(const QString& dossier = QString(),
        qint64 octetsMemoire = octetsMemoireParDefaut, QObject* parent = nullptr);
    ~CacheVignettes() override;

    enum class Etat {
        Prete, // *image holds the thumbnail
        SansImage, // no picture to show: missing, special, oversized or unreadable file
        EnCours // asked for; vignettePrete() follows
    };
    // The picture file chemin fitted in boite. Asked again while it is being
    // made, a thumbnail moves ahead of those asked before it.
    Etat vignette(const QString& chemin, const QSize& boite, QImage* image);

    QString dossier() const { return m_dossier; }
    // Lets go of the thumbnails held in memory (the disk entries stay).
    void oublierMemoire() { m_memoire.clear(); }
    qint64 octetsEnMemoire() const { return m_memoire.totalCost(); }
    // Asked and not yet delivered (waiting or being made).
    int nbEnAttente() const { return int(m_attente.size() + m_enCours.size()); }

    // What a disk entry is for: the picture file's path, size and time of
    // last change, so that a changed picture never finds the old entry.
    struct Fichier
    {
        QString chemin;
        qint64 octets = -1;
        qint64 modifie = 0; // ms since the epoch
        bool operator==(const Fichier& autre) const
        {
            return chemin == autre.chemin && octets == autre.octets && modifie == autre.modifie;
        }
    };
    // The file as it is now; octets stays -1 when no picture can be read from
    // it (missing, not a regular file, over the cover size limit).
    static Fichier decrire(const QString& chemin);
    static QString cle(const Fichier& fichier);
    static QString nomEntree(const QString& cle);
    // An entry: a header naming the key and the size, the picture, and a
    // checksum of all that.
    static QByteArray entree(const QString& cle, const QImage& image);
    // The picture of an entry; null when the entry is cut, altered or for
    // another key.
    static QImage lireEntree(const QByteArray& octets, const QString& cle);
    // The thumbnail, from the disk entry when it is sound, else from the
    // picture file (then the entry is written again). Any thread.
    static QImage produire(const Fichier& fichier, const QSize& boite, const QString& dossier);

signals:
    void vignettePrete();

private:
    struct Entree
    {
        QImage image; // null: no picture
        Fichier fichier;
        qint64 verifieA = 0; // m_horloge, ms
    };
    struct Demande
    {
        Fichier fichier;
        QSize boite;
        quint64 ordre = 0;
    };
    static QString cleMemoire(const QString& chemin, const QSize& boite);
    void garder(const QString& cleMemoire, const Fichier& fichier, const QImage& image);
    void demander(const QString& cleMemoire, const Demande& demande);
    void lancer();
    void recevoir(const QString& cleMemoire, const Fichier& fichier, const QImage& image);

    QString m_dossier;
    QCache<QString, Entree> m_memoire;
    QElapsedTimer m_horloge;
    // Waiting, newest last in m_ordre; m_enCours are in the pool.
    QHash<QString, Demande> m_attente;
    std::map<quint64, QString> m_ordre;
    quint64 m_prochainOrdre = 0;
    QSet<QString> m_enCours;
    QThreadPool m_pool;
};
