#include "boxrecorder.h"

#include <gtest/gtest.h>

BoxRecorder::BoxRecorder()
{
    Messages::setResponder([this](const BoxRequest &r) {
        m_shown.append(r);
        if (m_answers.isEmpty()) {
            ADD_FAILURE() << "unexpected message box: " << r.caption.toStdString() << ": "
                          << r.text.toStdString();
            return r.buttons.isEmpty() ? BoxButton::Ok : r.buttons.last();
        }
        return m_answers.takeFirst();
    });
}

BoxRecorder::~BoxRecorder()
{
    Messages::setResponder({});
}

void BoxRecorder::expect(BoxButton answer)
{
    m_answers.append(answer);
}

const BoxRequest &BoxRecorder::last() const
{
    static const BoxRequest none;
    return m_shown.isEmpty() ? none : m_shown.last();
}
