#pragma once

#include "ui/messages.h"

#include <QList>

// Answers message boxes from a script and records them. A box that the script does not expect
// fails the test.
class BoxRecorder
{
public:
    BoxRecorder();
    ~BoxRecorder();

    // The next box is answered with `answer`.
    void expect(BoxButton answer);

    const QList<BoxRequest> &shown() const { return m_shown; }
    const BoxRequest &last() const;
    int count() const { return int(m_shown.size()); }
    void clear() { m_shown.clear(); }

private:
    QList<BoxRequest> m_shown;
    QList<BoxButton> m_answers;
};
