#include "support/serveurtest.h"
#include "support/dossier.h"

#include <QTcpSocket>

#include <algorithm>

namespace {
const QByteArray cleSecrete = "TestSecretKey/for+the/loopback/server/00";

QByteArray item(const QByteArray& base, int n, bool petite)
{
    const QByteArray i = QByteArray::number(n);
    return "<Item><ASIN>22050495" + i + "</ASIN>"
        + (petite ? "<SmallImage><URL>" + base + "/images/petit-" + i + ".jpg</URL></SmallImage>"
                  : "")
        + "<LargeImage><URL>" + base + "/images/grand-" + i
        + ".jpg</URL><Height Units=\"pixels\">500</Height></LargeImage></Item>";
}
} // namespace

QByteArray ServeurTest::Requete::entete(const QByteArray& nom) const
{
    for (const auto& [cle, valeur] : entetes)
        if (cle.compare(nom, Qt::CaseInsensitive) == 0)
            return valeur;
    return {};
}

QByteArray ServeurTest::Requete::valeur(const QByteArray& cle) const
{
    for (const QByteArray& item : requete.split('&'))
        if (item.startsWith(cle + '='))
            return item.mid(cle.size() + 1);
    return {};
}

QList<QByteArray> ServeurTest::Requete::cles() const
{
    QList<QByteArray> resultat;
    for (const QByteArray& item : requete.split('&'))
        resultat << item.left(item.indexOf('='));
    return resultat;
}

ServeurTest::ServeurTest()
{
    connect(&m_serveur, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_serveur.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { lire(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_tampons.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

ServeurTest::~ServeurTest()
{
    // Connections still open (a silent answer) must not report to a server that is gone.
    for (QTcpSocket* socket : m_serveur.findChildren<QTcpSocket*>())
        disconnect(socket, nullptr, this, nullptr);
}

QStringList ServeurTest::parametresService(const QString& endpoint) const
{
    return { "AMAZON/Endpoint="
            + (endpoint.isEmpty() ? QString::fromLatin1(base() + "/onca/xml") : endpoint),
        "AMAZON/AccessKeyId=" + QString::fromLatin1(accessKeyId()),
        "AMAZON/SecretKey=" + QString::fromLatin1(cleSecrete) };
}

void ServeurTest::exigerAuthentificationProxy(const QByteArray& login, const QByteArray& motDePasse)
{
    m_authProxy = "Basic " + (login + ':' + motDePasse).toBase64();
}

QByteArray ServeurTest::documentRecherche() const
{
    return "<?xml "
           "version=\"1.0\"?><ItemSearchResponse><Items><Request><IsValid>True</IsValid></Request>"
           "<TotalResults>3</TotalResults>"
        + item(base(), 1, true) + item(base(), 2, false) + item(base(), 3, true)
        + "</Items></ItemSearchResponse>";
}

QByteArray ServeurTest::octetsImage(const QByteArray& nom)
{
    return imagePng(12, 16, QColor::fromRgb(qHash(nom) & 0xFFFFFF));
}

QList<ServeurTest::Requete> ServeurTest::requetesVers(const QByteArray& chemin) const
{
    QList<Requete> resultat;
    for (const Requete& r : m_requetes)
        if (r.chemin == chemin)
            resultat << r;
    return resultat;
}

bool ServeurTest::signatureValide(const Requete& requete) const
{
    QList<QByteArray> items = requete.requete.split('&');
    items.removeIf([](const QByteArray& item) { return item.startsWith("Signature="); });
    std::sort(items.begin(), items.end(), [](const QByteArray& a, const QByteArray& b) {
        return a.left(a.indexOf('=')) < b.left(b.indexOf('='));
    });
    const QByteArray chaine
        = "GET\n" + requete.hote + '\n' + requete.chemin + '\n' + items.join('&');
    return requete.valeur("Signature")
        == QUrl::toPercentEncoding(QString::fromLatin1(
            QMessageAuthenticationCode::hash(chaine, cleSecrete, QCryptographicHash::Sha1)
                .toBase64()));
}

void ServeurTest::lire(QTcpSocket* socket)
{
    QByteArray& tampon = m_tampons[socket];
    tampon += socket->readAll();
    for (int fin; (fin = tampon.indexOf("\r\n\r\n")) >= 0;) {
        const QList<QByteArray> lignes = tampon.left(fin).split('\n');
        tampon.remove(0, fin + 4);
        Requete requete;
        requete.recu = QDateTime::currentMSecsSinceEpoch();
        QByteArray cible = lignes.value(0).trimmed().split(' ').value(1);
        for (const QByteArray& ligne : lignes.mid(1))
            if (const int deuxPoints = ligne.indexOf(':'); deuxPoints > 0)
                requete.entetes.append(
                    { ligne.left(deuxPoints).trimmed(), ligne.mid(deuxPoints + 1).trimmed() });
        requete.viaProxy = cible.startsWith("http://");
        const int debutChemin = requete.viaProxy ? int(cible.indexOf('/', 7)) : 0;
        requete.hote = requete.viaProxy ? cible.mid(7, debutChemin - 7) : requete.entete("Host");
        cible = cible.mid(debutChemin);
        if (requete.hote.contains(':'))
            requete.hote.truncate(requete.hote.lastIndexOf(':'));
        const int interrogation = int(cible.indexOf('?'));
        requete.chemin = interrogation < 0 ? cible : cible.left(interrogation);
        requete.requete = interrogation < 0 ? QByteArray() : cible.mid(interrogation + 1);
        m_requetes << requete;
        repondre(socket, reponseA(requete));
    }
}

ServeurTest::Reponse ServeurTest::reponseA(const Requete& requete) const
{
    if (requete.viaProxy && !m_authProxy.isEmpty()
        && requete.entete("Proxy-Authorization") != m_authProxy)
        return { 407, "proxy authentication required",
            { { "Proxy-Authenticate", "Basic realm=\"phylacto\"" } } };
    if (const std::optional<Reponse> reponse
        = m_gestionnaire ? m_gestionnaire(requete) : std::nullopt)
        return *reponse;
    if (m_reponses.contains(requete.chemin))
        return m_reponses.value(requete.chemin);
    if (requete.chemin == "/onca/xml" && m_rechercheFixee)
        return m_recherche;
    if (requete.chemin == "/onca/xml")
        return signatureValide(requete)
            ? Reponse { 200, documentRecherche(), { { "Content-Type", "text/xml" } } }
            : Reponse { 403, "<Error><Code>SignatureDoesNotMatch</Code></Error>", {} };
    if (requete.chemin.startsWith("/images/"))
        return { 200, octetsImage(requete.chemin.mid(8)), { { "Content-Type", "image/png" } } };
    return { 404, "not found", {} };
}

void ServeurTest::repondre(QTcpSocket* socket, const Reponse& reponse)
{
    if (reponse.delai < 0)
        return;
    auto envoyer = [cible = QPointer<QTcpSocket>(socket), reponse] {
        if (!cible)
            return;
        const qint64 longueur = reponse.annonce
            ? reponse.annonce
            : reponse.corps.size() + (reponse.tronquee ? 100 : 0);
        QByteArray tete = "HTTP/1.1 " + QByteArray::number(reponse.statut) + " Status\r\n"
            + (longueur < 0 ? QByteArray()
                            : "Content-Length: " + QByteArray::number(longueur) + "\r\n")
            + "Connection: close\r\n";
        for (const auto& [nom, valeur] : reponse.entetes)
            tete += nom + ": " + valeur + "\r\n";
        cible->write(tete + "\r\n" + (reponse.goutte < 0 ? reponse.corps : QByteArray()));
        if (reponse.goutte < 0)
            return cible->disconnectFromHost();
        auto* flot = new QTimer(cible); // dies with the connection
        connect(flot, &QTimer::timeout, cible, [cible, corps = reponse.corps] {
            if (cible->bytesToWrite() < (1 << 20))
                cible->write(corps);
        });
        flot->start(reponse.goutte);
    };
    if (reponse.delai > 0)
        QTimer::singleShot(reponse.delai, this, envoyer);
    else
        envoyer();
}
