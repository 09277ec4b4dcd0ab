#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Series names, artists, publishers... repeat over thousands of albums: each
// distinct text is kept once here, and every album holding it shares its
// buffer (implicit sharing) instead of a copy of its own.
class TextesPartages
{
public:
    // The kept text equal to texte, kept first when new. An empty text is
    // never kept.
    QString partager(QStringView texte);
    QString partager(const QString& texte);

    // The kept text equal to texte, or a null text.
    QString trouver(QStringView texte) const;
    // Hands autre the texts that something else still holds (an album) and
    // forgets every text.
    void verserDans(TextesPartages& autre);

    qsizetype nombre() const { return m_nombre; }
    void vider();

private:
    qsizetype chercher(QStringView texte, quint32 empreinte) const;
    template <typename Texte> QString garder(const Texte& texte);
    void agrandir();

    // Open addressing with linear probing; an empreinte of 0 marks a free slot.
    QList<QString> m_cases;
    QList<quint32> m_empreintes;
    qsizetype m_nombre = 0;
};
