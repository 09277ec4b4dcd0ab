#include "support/serveurtest.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QMessageAuthenticationCode>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

QByteArray ServeurTest::Requete::entete(const QByteArray& nom) const
{
    for (const auto& [cle, valeur] : entetes)
        if (cle.compare(nom, Qt::CaseInsensitive) == 0)
            return valeur;
    return {};
}

QByteArray ServeurTest::Requete::valeur(const QByteArray& cle) const
{
    for (const QByteArray& item : requete.split('&')) {
        const int egal = item.indexOf('=');
        if ((egal < 0 ? item : item.left(egal)) == cle)
            return egal < 0 ? QByteArray() : item.mid(egal + 1);
    }
    return {};
}

QList<QByteArray> ServeurTest::Requete::cles() const
{
    QList<QByteArray> resultat;
    for (const QByteArray& item : requete.split('&'))
        resultat << item.left(item.indexOf('='));
    return resultat;
}

ServeurTest::ServeurTest(QObject* parent)
    : QObject(parent)
{
    connect(&m_serveur, &QTcpServer::newConnection, this, &ServeurTest::nouvelleConnexion);
}

ServeurTest::~ServeurTest()
{
    // Connections still open at the end of a test (a silent answer) would
    // report their disconnection to a server whose members are gone.
    const QList<QTcpSocket*> sockets =
        m_serveur.findChildren<QTcpSocket*>() + findChildren<QTcpSocket*>();
    for (QTcpSocket* socket : sockets)
        disconnect(socket, nullptr, this, nullptr);
}

bool ServeurTest::demarrer()
{
    return m_serveur.listen(QHostAddress::LocalHost, 0);
}

QByteArray ServeurTest::base() const
{
    return "http://127.0.0.1:" + QByteArray::number(port());
}

QList<QPair<QString, QString>> ServeurTest::parametresService(const QString& endpoint) const
{
    return { { QStringLiteral("AMAZON/Endpoint"),
                 endpoint.isEmpty() ? this->endpoint() : endpoint },
        { QStringLiteral("AMAZON/AccessKeyId"), QString::fromLatin1(accessKeyId()) },
        { QStringLiteral("AMAZON/SecretKey"), QString::fromLatin1(secretKey()) } };
}

void ServeurTest::exigerAuthentificationProxy(const QByteArray& login, const QByteArray& motDePasse)
{
    m_authProxy = "Basic " + (login + ':' + motDePasse).toBase64();
}

QByteArray ServeurTest::lireDonnees(const QString& nom)
{
    QFile fichier(QStringLiteral(PHYLACTO_TEST_DATA "/") + nom);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

QByteArray ServeurTest::documentRecherche() const
{
    return lireDonnees(QStringLiteral("itemsearch.xml")).replace("@BASE@", base());
}

QByteArray ServeurTest::documentErreurSignature()
{
    return lireDonnees(QStringLiteral("signature_invalide.xml"));
}

QByteArray ServeurTest::octetsImage(const QByteArray& nom)
{
    QImage image(12, 16, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(qHash(nom) & 0xFFFFFF));
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    image.save(&tampon, "PNG");
    return octets;
}

QList<ServeurTest::Requete> ServeurTest::requetesVers(const QByteArray& chemin) const
{
    QList<Requete> resultat;
    for (const Requete& requete : m_requetes)
        if (requete.chemin == chemin)
            resultat << requete;
    return resultat;
}

bool ServeurTest::signatureValide(const Requete& requete) const
{
    QList<QByteArray> items;
    for (const QByteArray& item : requete.requete.split('&'))
        if (!item.startsWith("Signature="))
            items << item;
    std::sort(items.begin(), items.end(), [](const QByteArray& a, const QByteArray& b) {
        return a.left(a.indexOf('=')) < b.left(b.indexOf('='));
    });
    const QByteArray chaine
        = "GET\n" + requete.hote + '\n' + requete.chemin + '\n' + items.join('&');
    const QByteArray attendue = QUrl::toPercentEncoding(QString::fromLatin1(
        QMessageAuthenticationCode::hash(chaine, secretKey(), QCryptographicHash::Sha1)
            .toBase64()));
    return requete.valeur("Signature") == attendue;
}

void ServeurTest::nouvelleConnexion()
{
    while (QTcpSocket* socket = m_serveur.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { lire(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_tampons.remove(socket);
            socket->deleteLater();
        });
    }
}

void ServeurTest::lire(QTcpSocket* socket)
{
    QByteArray& tampon = m_tampons[socket];
    tampon += socket->readAll();
    int fin;
    while ((fin = tampon.indexOf("\r\n\r\n")) >= 0) {
        const QList<QByteArray> lignes = tampon.left(fin).split('\n');
        tampon.remove(0, fin + 4);

        Requete requete;
        requete.recu = QDateTime::currentMSecsSinceEpoch();
        const QList<QByteArray> premiere = lignes.value(0).trimmed().split(' ');
        requete.methode = premiere.value(0);
        requete.cible = premiere.value(1);
        for (int i = 1; i < lignes.size(); ++i) {
            const QByteArray ligne = lignes.at(i).trimmed();
            const int deuxPoints = ligne.indexOf(':');
            if (deuxPoints > 0)
                requete.entetes.append(
                    { ligne.left(deuxPoints).trimmed(), ligne.mid(deuxPoints + 1).trimmed() });
        }
        QByteArray cible = requete.cible;
        requete.viaProxy = cible.startsWith("http://");
        if (requete.viaProxy) {
            const int debutChemin = cible.indexOf('/', 7);
            requete.hote = cible.mid(7, debutChemin < 0 ? -1 : debutChemin - 7);
            cible = debutChemin < 0 ? QByteArray("/") : cible.mid(debutChemin);
        } else {
            requete.hote = requete.entete("Host");
        }
        if (requete.hote.contains(':'))
            requete.hote = requete.hote.left(requete.hote.lastIndexOf(':'));
        const int interrogation = cible.indexOf('?');
        requete.chemin = interrogation < 0 ? cible : cible.left(interrogation);
        requete.requete = interrogation < 0 ? QByteArray() : cible.mid(interrogation + 1);

        m_requetes << requete;
        traiter(socket, requete);
    }
}

void ServeurTest::traiter(QTcpSocket* socket, const Requete& requete)
{
    if (requete.viaProxy && !m_authProxy.isEmpty()
        && requete.entete("Proxy-Authorization") != m_authProxy) {
        Reponse refus;
        refus.statut = 407;
        refus.entetes = { { "Proxy-Authenticate", "Basic realm=\"phylacto\"" } };
        refus.corps = "proxy authentication required";
        repondre(socket, refus);
        return;
    }
    if (m_reponses.contains(requete.chemin)) {
        repondre(socket, m_reponses.value(requete.chemin));
        return;
    }
    if (requete.chemin == "/onca/xml") {
        if (m_rechercheFixee) {
            repondre(socket, m_recherche);
        } else if (signatureValide(requete)) {
            Reponse reponse;
            reponse.corps = documentRecherche();
            reponse.entetes = { { "Content-Type", "text/xml;charset=UTF-8" } };
            repondre(socket, reponse);
        } else {
            Reponse reponse;
            reponse.statut = 403;
            reponse.corps = documentErreurSignature();
            reponse.entetes = { { "Content-Type", "text/xml;charset=UTF-8" } };
            repondre(socket, reponse);
        }
        return;
    }
    Reponse reponse;
    if (requete.chemin.startsWith("/images/")) {
        reponse.corps = octetsImage(requete.chemin.mid(8));
        reponse.entetes = { { "Content-Type", "image/png" } };
    } else {
        reponse.statut = 404;
        reponse.corps = "not found";
    }
    repondre(socket, reponse);
}

void ServeurTest::repondre(QTcpSocket* socket, const Reponse& reponse)
{
    if (reponse.delai < 0)
        return;
    QPointer<QTcpSocket> cible(socket);
    auto envoyer = [cible, reponse] {
        if (!cible)
            return;
        static const QHash<int, QByteArray> raisons = { { 200, "OK" }, { 301, "Moved Permanently" },
            { 302, "Found" }, { 400, "Bad Request" }, { 403, "Forbidden" }, { 404, "Not Found" },
            { 407, "Proxy Authentication Required" }, { 500, "Internal Server Error" },
            { 503, "Service Unavailable" } };
        QByteArray tete = "HTTP/1.1 " + QByteArray::number(reponse.statut) + ' '
            + raisons.value(reponse.statut, "Status") + "\r\n";
        const qsizetype annonce = reponse.corps.size() + (reponse.tronquee ? 100 : 0);
        tete += "Content-Length: " + QByteArray::number(annonce) + "\r\n";
        tete += "Connection: close\r\n";
        for (const auto& [nom, valeur] : reponse.entetes)
            tete += nom + ": " + valeur + "\r\n";
        tete += "\r\n";
        cible->write(tete + reponse.corps);
        cible->disconnectFromHost();
    };
    if (reponse.delai > 0)
        QTimer::singleShot(reponse.delai, this, envoyer);
    else
        envoyer();
}
