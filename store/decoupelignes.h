#pragma once

#include <QByteArrayView>
#include <QStringView>

// Walks the lines of a text (QStringView) or of bytes (QByteArrayView): each
// ends at a line feed, or at the end when none follows; after a final line
// feed there is no empty line. The line feed is left out of each line.
template <typename Vue> class DecoupeLignes
{
public:
    explicit DecoupeLignes(Vue texte)
        : m_texte(texte)
    {
    }

    // The next line; false once everything is walked.
    bool suivante(Vue& ligne)
    {
        if (m_debut >= m_texte.size())
            return false;
        const qsizetype fin = m_texte.indexOf(typename Vue::storage_type('\n'), m_debut);
        m_finie = fin >= 0;
        const qsizetype bout = m_finie ? fin : m_texte.size();
        ligne = m_texte.sliced(m_debut, bout - m_debut);
        m_debut = bout + 1;
        return true;
    }
    // True when the line suivante() gave ended with a line feed (a slice of a
    // longer text may stop inside its last line).
    bool finie() const { return m_finie; }
    // How much is walked, line feeds included.
    qsizetype position() const { return qMin(m_debut, m_texte.size()); }

private:
    Vue m_texte;
    qsizetype m_debut = 0;
    bool m_finie = false;
};

// A line of the collection file without its end: lines end with LF or CRLF.
inline QStringView sansRetourChariot(QStringView ligne)
{
    return ligne.endsWith(u'\r') ? ligne.chopped(1) : ligne;
}
