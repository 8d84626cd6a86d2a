#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every file dialog of the program goes through here, so that tests can answer them as they
// answer message boxes.
namespace FileChooser {

enum class Purpose { Open, Save };

struct FileRequest
{
    Purpose purpose = Purpose::Open;
    QString caption;
    QString suggested; // a file name to start from
    QString filter;    // "Рецепт (*.json)"
};

// The file chosen, or an empty text when the grower cancelled.
QString choose(QWidget *parent, const FileRequest &request);

// Installs a responder in place of real dialogs; an empty function restores them.
void setResponder(std::function<QString(const FileRequest &)> responder);

} // namespace FileChooser
