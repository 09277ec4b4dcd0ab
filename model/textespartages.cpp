#include "model/textespartages.h"

#include <QHashFunctions>

qsizetype TextesPartages::chercher(QStringView texte, size_t empreinte) const
{
    const qsizetype masque = m_cases.size() - 1;
    qsizetype i = qsizetype(empreinte) & masque;
    while (!m_cases.at(i).isNull() && m_cases.at(i) != texte)
        i = (i + 1) & masque;
    return i;
}

QString TextesPartages::partager(QStringView texte)
{
    if (texte.isEmpty())
        return texte.toString();
    if ((m_nombre + 1) * 2 > m_cases.size())
        agrandir();
    const qsizetype i = chercher(texte, qHash(texte));
    if (m_cases.at(i).isNull()) {
        m_cases[i] = texte.toString();
        ++m_nombre;
    }
    return m_cases.at(i);
}

QString TextesPartages::partager(const QString& texte)
{
    if (texte.isEmpty())
        return texte;
    if ((m_nombre + 1) * 2 > m_cases.size())
        agrandir();
    const qsizetype i = chercher(texte, qHash(QStringView(texte)));
    if (m_cases.at(i).isNull()) {
        m_cases[i] = texte;
        ++m_nombre;
    }
    return m_cases.at(i);
}

void TextesPartages::vider()
{
    m_cases.clear();
    m_nombre = 0;
}

void TextesPartages::agrandir()
{
    QList<QString> anciennes;
    anciennes.swap(m_cases);
    m_cases.resize(qMax<qsizetype>(64, anciennes.size() * 2));
    for (QString& texte : anciennes) {
        if (!texte.isNull())
            m_cases[chercher(texte, qHash(QStringView(texte)))].swap(texte);
    }
}
