#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A loopback HTTP server standing in for the product-search service, the
// image host and an HTTP proxy (absolute-URI requests). It checks the
// signature of every search with its own secret key, answers a good one with
// the three-item document of tests/data/itemsearch.xml (image addresses on
// itself), serves images under /images/, and records every request.
class ServeurTest : public QObject
{
    Q_OBJECT

public:
    struct Requete
    {
        QByteArray methode;
        QByteArray cible; // as on the request line (absolute through a proxy)
        QByteArray hote; // host the request names, without port
        QByteArray chemin;
        QByteArray requete; // raw query, still encoded
        QList<QPair<QByteArray, QByteArray>> entetes;
        bool viaProxy = false;
        qint64 recu = 0; // ms since the epoch, when its head was read

        QByteArray entete(const QByteArray& nom) const;
        // Raw value of a query item, still encoded.
        QByteArray valeur(const QByteArray& cle) const;
        QList<QByteArray> cles() const;
    };

    struct Reponse
    {
        int statut = 200;
        QByteArray corps;
        QList<QPair<QByteArray, QByteArray>> entetes;
        int delai = 0; // ms before answering; -1: never answers
        bool tronquee = false; // announces more bytes than it sends, then closes
    };

    explicit ServeurTest(QObject* parent = nullptr);
    ~ServeurTest() override;

    bool demarrer();
    quint16 port() const { return m_serveur.serverPort(); }
    QByteArray base() const; // "http://127.0.0.1:<port>"
    QString endpoint() const { return QString::fromLatin1(base()) + QStringLiteral("/onca/xml"); }
    QByteArray urlImage(const QByteArray& nom) const { return base() + "/images/" + nom; }

    // The settings keys that point the program at this server with its key.
    QList<QPair<QString, QString>> parametresService(const QString& endpoint = QString()) const;
    static QByteArray accessKeyId() { return "TESTACCESSKEY0000001"; }
    static QByteArray secretKey() { return "TestSecretKey/for+the/loopback/server/00"; }

    // Replaces the answer to searches (whatever their signature).
    void setReponseRecherche(const Reponse& reponse)
    {
        m_recherche = reponse;
        m_rechercheFixee = true;
    }
    // Answer to one path ("/images/x.jpg"), instead of the default.
    void setReponse(const QByteArray& chemin, const Reponse& reponse)
    {
        m_reponses.insert(chemin, reponse);
    }
    // Proxy requests are refused with 407 until they carry this pair.
    void exigerAuthentificationProxy(const QByteArray& login, const QByteArray& motDePasse);

    // The default answer document, with its addresses on this server.
    QByteArray documentRecherche() const;
    static QByteArray documentErreurSignature();
    // The bytes served for an image name (a small PNG, distinct per name).
    static QByteArray octetsImage(const QByteArray& nom);
    static QByteArray lireDonnees(const QString& nom);

    const QList<Requete>& requetes() const { return m_requetes; }
    QList<Requete> requetesVers(const QByteArray& chemin) const;
    void oublier() { m_requetes.clear(); }
    bool signatureValide(const Requete& requete) const;

private:
    void nouvelleConnexion();
    void lire(QTcpSocket* socket);
    void traiter(QTcpSocket* socket, const Requete& requete);
    void repondre(QTcpSocket* socket, const Reponse& reponse);

    QTcpServer m_serveur;
    QHash<QTcpSocket*, QByteArray> m_tampons;
    QList<Requete> m_requetes;
    QMap<QByteArray, Reponse> m_reponses;
    Reponse m_recherche;
    bool m_rechercheFixee = false;
    QByteArray m_authProxy; // expected Proxy-Authorization, empty: none
};
