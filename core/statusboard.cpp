// Status text, title and note.
#include "statusboard.h"

void StatusBoard::setStatusText(const QString &text)
{
    m_status = text;
    emit statusTextChanged(text);
}

void StatusBoard::setTitle(const QString &text)
{
    m_title = text;
    emit titleChanged(text);
}

void StatusBoard::setNote(const QString &text)
{
    m_note = text;
    emit noteChanged(text);
}
