#include "model/textespartages.h"

#include <QHashFunctions>

#include <type_traits>

namespace {

// Stored beside the texts, never 0 (a free slot): a probe compares characters
// only when it has very likely found its text.
quint32 empreinteDe(QStringView texte)
{
    const quint32 empreinte = quint32(qHash(texte));
    return empreinte ? empreinte : 1;
}
} // namespace

qsizetype TextesPartages::chercher(QStringView texte, quint32 empreinte) const
{
    const qsizetype masque = m_cases.size() - 1;
    qsizetype i = qsizetype(empreinte) & masque;
    while (m_empreintes.at(i) != 0 && (m_empreintes.at(i) != empreinte || m_cases.at(i) != texte))
        i = (i + 1) & masque;
    return i;
}

template <typename Texte> QString TextesPartages::garder(const Texte& texte)
{
    if ((m_nombre + 1) * 2 > m_cases.size())
        agrandir();
    const quint32 empreinte = empreinteDe(texte);
    const qsizetype i = chercher(texte, empreinte);
    if (m_empreintes.at(i) == 0) {
        if constexpr (std::is_same_v<Texte, QString>)
            m_cases[i] = texte;
        else
            m_cases[i] = texte.toString();
        m_empreintes[i] = empreinte;
        ++m_nombre;
    }
    return m_cases.at(i);
}

QString TextesPartages::partager(QStringView texte)
{
    if (texte.isEmpty())
        return texte.toString();
    return garder(texte);
}

QString TextesPartages::partager(const QString& texte)
{
    if (texte.isEmpty())
        return texte;
    return garder(texte);
}

QString TextesPartages::trouver(QStringView texte) const
{
    if (m_nombre == 0 || texte.isEmpty())
        return {};
    const qsizetype i = chercher(texte, empreinteDe(texte));
    return m_empreintes.at(i) == 0 ? QString() : m_cases.at(i);
}

void TextesPartages::verserDans(TextesPartages& autre)
{
    QList<QString> cases;
    cases.swap(m_cases);
    vider();
    for (QString& texte : cases) {
        // Alone in its buffer once out of the table: nobody holds it.
        const QString garde = std::move(texte);
        if (!garde.isNull() && !garde.isDetached())
            autre.partager(garde);
    }
}

void TextesPartages::vider()
{
    m_cases.clear();
    m_empreintes.clear();
    m_nombre = 0;
}

void TextesPartages::agrandir()
{
    QList<QString> anciennes;
    anciennes.swap(m_cases);
    QList<quint32> empreintes;
    empreintes.swap(m_empreintes);
    const qsizetype taille = qMax<qsizetype>(64, anciennes.size() * 2);
    m_cases.resize(taille);
    m_empreintes.fill(0, taille);
    for (qsizetype j = 0; j < anciennes.size(); ++j) {
        if (empreintes.at(j) == 0)
            continue;
        const qsizetype i = chercher(anciennes.at(j), empreintes.at(j));
        m_cases[i].swap(anciennes[j]);
        m_empreintes[i] = empreintes.at(j);
    }
}
