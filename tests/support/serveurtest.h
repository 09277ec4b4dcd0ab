#pragma once

#include <QHash>
#include <QMap>
#include <QStringList>
#include <QTcpServer>

#include <functional>
#include <optional>

class QTcpSocket;

// A loopback HTTP server standing in for the product-search service, the
// image host and an HTTP proxy (absolute-URI requests). A search whose
// signature checks with its own key gets a three-item document (image
// addresses on itself, the second item without a small image); images are
// served under /images/. Every request is recorded.
class ServeurTest : public QObject
{
    Q_OBJECT

public:
    using Entetes = QList<QPair<QByteArray, QByteArray>>;
    struct Requete
    {
        QByteArray hote; // host the request names, without port
        QByteArray chemin;
        QByteArray requete; // raw query, still encoded
        Entetes entetes;
        bool viaProxy = false;
        qint64 recu = 0; // ms since the epoch, when its head was read

        QByteArray entete(const QByteArray& nom) const;
        QByteArray valeur(const QByteArray& cle) const; // raw value of a query item
        QList<QByteArray> cles() const;
    };
    struct Reponse
    {
        int statut = 200;
        QByteArray corps;
        Entetes entetes;
        int delai = 0; // ms before answering; -1: never answers
        bool tronquee = false; // announces more bytes than it sends, then closes
        qint64 annonce = 0; // Content-Length sent instead of the body's (-1: none)
        int goutte = -1; // >= 0: the body sent again every goutte ms, until the client goes
    };

    ServeurTest();
    ~ServeurTest() override;
    bool demarrer() { return m_serveur.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return m_serveur.serverPort(); }
    QByteArray base() const { return "http://127.0.0.1:" + QByteArray::number(port()); }
    QByteArray urlImage(const QByteArray& nom) const { return base() + "/images/" + nom; }
    // The settings that point the program at this server with its key, "KEY=value".
    QStringList parametresService(const QString& endpoint = QString()) const;
    static QByteArray accessKeyId() { return "TESTACCESSKEY0000001"; }

    void setReponseRecherche(const Reponse& reponse)
    {
        m_recherche = reponse, m_rechercheFixee = true;
    }
    void setReponse(const QByteArray& chemin, const Reponse& reponse)
    {
        m_reponses.insert(chemin, reponse);
    }
    // Asked first; answers what it gives (an answer that depends on the query).
    void setGestionnaire(std::function<std::optional<Reponse>(const Requete&)> gestionnaire)
    {
        m_gestionnaire = std::move(gestionnaire);
    }
    // Proxy requests are refused with 407 until they carry this pair.
    void exigerAuthentificationProxy(const QByteArray& login, const QByteArray& motDePasse);

    QByteArray documentRecherche() const;
    static QByteArray octetsImage(const QByteArray& nom); // a small PNG, distinct per name
    const QList<Requete>& requetes() const { return m_requetes; }
    QList<Requete> requetesVers(const QByteArray& chemin) const;
    void oublier() { m_requetes.clear(); }
    bool signatureValide(const Requete& requete) const;

private:
    void lire(QTcpSocket* socket);
    Reponse reponseA(const Requete& requete) const;
    void repondre(QTcpSocket* socket, const Reponse& reponse);

    QTcpServer m_serveur;
    QHash<QTcpSocket*, QByteArray> m_tampons;
    QList<Requete> m_requetes;
    QMap<QByteArray, Reponse> m_reponses;
    Reponse m_recherche;
    bool m_rechercheFixee = false;
    QByteArray m_authProxy;
    std::function<std::optional<Reponse>(const Requete&)> m_gestionnaire;
};
