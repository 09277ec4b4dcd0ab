#include "covers/cachevignettes.h"

#include "covers/nomimage.h"
#include "store/lecturefichier.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

namespace {

constexpr quint32 magie = 0x50565447; // "PVTG"
constexpr quint8 version = 1;
constexpr qint64 tailleMaxEntree = qint64(4) << 20;
// A picture changed while the wall is open shows within this delay.
constexpr qint64 delaiVerification = 2000;
// Thumbnails asked for and since scrolled away are forgotten past this many.
constexpr qsizetype attenteMax = 256;

QByteArray empreinte(QByteArrayView octets)
{
    return QCryptographicHash::hash(octets, QCryptographicHash::Sha1);
}

QImage formatAffichage(const QImage& image)
{
    return image.convertToFormat(
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

// The picture file at most the size of boite: formats that can (JPEG) decode
// straight at a smaller size, so a large picture is never held whole.
QImage decoder(const QString& chemin, const QSize& boite)
{
    QBuffer tampon;
    tampon.setData(NomImage::octetsCouverture(chemin));
    if (tampon.data().isEmpty() || !tampon.open(QIODevice::ReadOnly))
        return {};
    QImageReader lecteur(&tampon);
    const QSize taille = lecteur.size();
    if (taille.isValid() && (taille.width() > boite.width() || taille.height() > boite.height()))
        lecteur.setScaledSize(taille.scaled(boite, Qt::KeepAspectRatio));
    QImage image = lecteur.read();
    if (image.isNull())
        return {};
    if (image.width() > boite.width() || image.height() > boite.height())
        image = image.scaled(boite, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return formatAffichage(image);
}

QImage ajuster(const QImage& image, const QSize& boite)
{
    const QSize voulue = image.size().scaled(boite, Qt::KeepAspectRatio);
    if (voulue == image.size() || voulue.isEmpty())
        return image;
    return image.scaled(voulue, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void ecrireEntree(const QString& dossier, const QString& cle, const QByteArray& octets)
{
    if (octets.isEmpty() || !QDir().mkpath(dossier))
        return;
    QSaveFile fichier(QDir(dossier).filePath(CacheVignettes::nomEntree(cle)));
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size()
        || !fichier.flush() || !fichier.commit())
        fichier.cancelWriting();
}

} // namespace

CacheVignettes::CacheVignettes(const QString& dossier, qint64 octetsMemoire, QObject* parent)
    : QObject(parent)
    , m_dossier(dossier)
{
    if (m_dossier.isEmpty()) {
        const QString racine = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        if (!racine.isEmpty())
            m_dossier = QDir(racine).filePath(QStringLiteral("vignettes"));
    }
    // Never less than a screenful, or the pictures shown would push each other out.
    m_memoire.setMaxCost(qMax(octetsMemoire, qint64(4) << 20));
    // One processor is left to the interface.
    m_pool.setMaxThreadCount(qBound(1, QThread::idealThreadCount() - 1, 4));
    m_horloge.start();
}

CacheVignettes::~CacheVignettes()
{
    // The threads post to this object: none may outlive it.
    m_pool.clear();
    m_pool.waitForDone();
}

CacheVignettes::Fichier CacheVignettes::decrire(const QString& chemin)
{
    Fichier fichier;
    fichier.chemin = chemin;
    const QFileInfo infos(chemin);
    if (infos.isFile() && infos.size() <= NomImage::tailleMaxCouverture) {
        fichier.octets = infos.size();
        fichier.modifie = infos.lastModified().toMSecsSinceEpoch();
    }
    return fichier;
}

QString CacheVignettes::cle(const Fichier& fichier)
{
    return QStringLiteral("%1\n%2\n%3\n%4x%5")
        .arg(QFileInfo(fichier.chemin).absoluteFilePath(), QString::number(fichier.octets),
            QString::number(fichier.modifie), QString::number(boiteDisque.width()),
            QString::number(boiteDisque.height()));
}

QString CacheVignettes::nomEntree(const QString& cle)
{
    return QString::fromLatin1(empreinte(cle.toUtf8()).toHex()) + QStringLiteral(".vig");
}

QByteArray CacheVignettes::entree(const QString& cle, const QImage& image)
{
    QByteArray donnees;
    QBuffer tampon(&donnees);
    tampon.open(QIODevice::WriteOnly);
    // Covers are opaque: JPEG, small; a picture with transparency keeps it in PNG.
    if (!image.save(&tampon, image.hasAlphaChannel() ? "PNG" : "JPG", 90))
        return {};
    QByteArray octets;
    QDataStream flux(&octets, QIODevice::WriteOnly);
    flux << magie << version << cle << qint32(image.width()) << qint32(image.height()) << donnees;
    octets += empreinte(octets);
    return octets;
}

QImage CacheVignettes::lireEntree(const QByteArray& octets, const QString& cle)
{
    const qsizetype tailleEmpreinte = 20;
    if (octets.size() <= tailleEmpreinte)
        return {};
    const QByteArray contenu = octets.left(octets.size() - tailleEmpreinte);
    if (empreinte(contenu) != octets.right(tailleEmpreinte))
        return {};
    QDataStream flux(contenu);
    quint32 magieLue = 0;
    quint8 versionLue = 0;
    QString cleLue;
    qint32 largeur = 0;
    qint32 hauteur = 0;
    QByteArray donnees;
    flux >> magieLue >> versionLue >> cleLue >> largeur >> hauteur >> donnees;
    if (flux.status() != QDataStream::Ok || magieLue != magie || versionLue != version
        || cleLue != cle)
        return {};
    const QImage image = QImage::fromData(donnees);
    if (image.width() != largeur || image.height() != hauteur)
        return {};
    return formatAffichage(image);
}

QImage CacheVignettes::produire(const Fichier& fichier, const QSize& boite, const QString& dossier)
{
    if (fichier.octets < 0)
        return {};
    // A box larger than the entries' is served from the picture itself.
    const bool parEntree = !dossier.isEmpty() && boite.width() <= boiteDisque.width()
        && boite.height() <= boiteDisque.height();
    if (!parEntree)
        return ajuster(decoder(fichier.chemin, boite), boite);

    const QString cleEntree = cle(fichier);
    QByteArray octets;
    QString absente;
    QImage grande;
    if (LectureFichier::lire(
            QDir(dossier).filePath(nomEntree(cleEntree)), tailleMaxEntree, &octets, &absente))
        grande = lireEntree(octets, cleEntree);
    if (grande.isNull()) {
        grande = decoder(fichier.chemin, boiteDisque);
        if (grande.isNull())
            return {};
        ecrireEntree(dossier, cleEntree, entree(cleEntree, grande));
    }
    return ajuster(grande, boite);
}

QString CacheVignettes::cleMemoire(const QString& chemin, const QSize& boite)
{
    return chemin + QLatin1Char('\n') + QString::number(boite.width()) + QLatin1Char('x')
        + QString::number(boite.height());
}

CacheVignettes::Etat CacheVignettes::vignette(
    const QString& chemin, const QSize& boite, QImage* image)
{
    const QString cleM = cleMemoire(chemin, boite);
    const qint64 maintenant = m_horloge.elapsed();
    if (Entree* connue = m_memoire.object(cleM)) {
        bool valable = maintenant - connue->verifieA < delaiVerification;
        if (!valable && decrire(chemin) == connue->fichier) {
            connue->verifieA = maintenant;
            valable = true;
        }
        if (valable) {
            if (connue->image.isNull())
                return Etat::SansImage;
            *image = connue->image;
            return Etat::Prete;
        }
        m_memoire.remove(cleM);
    }
    if (m_enCours.contains(cleM))
        return Etat::EnCours;

    Demande demande;
    demande.boite = boite;
    const auto attendue = m_attente.constFind(cleM);
    if (attendue != m_attente.cend()) {
        demande = *attendue;
    } else {
        demande.fichier = decrire(chemin);
        if (demande.fichier.octets < 0) {
            garder(cleM, demande.fichier, QImage());
            return Etat::SansImage;
        }
    }
    demander(cleM, demande);
    return Etat::EnCours;
}

void CacheVignettes::garder(const QString& cleM, const Fichier& fichier, const QImage& image)
{
    auto* entree = new Entree { image, fichier, m_horloge.elapsed() };
    m_memoire.insert(cleM, entree, qMax<qint64>(image.sizeInBytes(), 1) + cleM.size() * 2);
}

void CacheVignettes::demander(const QString& cleM, const Demande& demande)
{
    const auto attendue = m_attente.find(cleM);
    if (attendue != m_attente.end())
        m_ordre.erase(attendue->ordre);
    Demande nouvelle = demande;
    nouvelle.ordre = m_prochainOrdre++;
    m_attente.insert(cleM, nouvelle);
    m_ordre.emplace(nouvelle.ordre, cleM);
    while (m_attente.size() > attenteMax) {
        m_attente.remove(m_ordre.begin()->second);
        m_ordre.erase(m_ordre.begin());
    }
    lancer();
}

void CacheVignettes::lancer()
{
    while (!m_ordre.empty() && m_enCours.size() < m_pool.maxThreadCount()) {
        // The last asked is the one most likely still on screen.
        const auto dernier = std::prev(m_ordre.end());
        const QString cleM = dernier->second;
        m_ordre.erase(dernier);
        const Demande demande = m_attente.take(cleM);
        m_enCours.insert(cleM);
        const QString dossier = m_dossier;
        m_pool.start([this, cleM, demande, dossier] {
            const QImage image = produire(demande.fichier, demande.boite, dossier);
            QMetaObject::invokeMethod(
                this, [this, cleM, demande, image] { recevoir(cleM, demande.fichier, image); },
                Qt::QueuedConnection);
        });
    }
}

void CacheVignettes::recevoir(const QString& cleM, const Fichier& fichier, const QImage& image)
{
    m_enCours.remove(cleM);
    garder(cleM, fichier, image);
    lancer();
    emit vignettePrete();
}
