#include "filechooser.h"

#include <QFileDialog>

namespace FileChooser {

namespace {

std::function<QString(const FileRequest &)> &responder()
{
    static std::function<QString(const FileRequest &)> r;
    return r;
}

} // namespace

QString choose(QWidget *parent, const FileRequest &request)
{
    if (responder())
        return responder()(request);
    return request.purpose == Purpose::Save
               ? QFileDialog::getSaveFileName(parent, request.caption, request.suggested, request.filter)
               : QFileDialog::getOpenFileName(parent, request.caption, request.suggested, request.filter);
}

void setResponder(std::function<QString(const FileRequest &)> r)
{
    responder() = std::move(r);
}

} // namespace FileChooser
