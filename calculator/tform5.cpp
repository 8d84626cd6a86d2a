#include "tform5.h"

#include "app/globals.h"
#include "calc/numbers.h"
#include "calculator/calculatorlook.h"
#include "calculator/tform4.h"
#include "data/connection.h"
#include "data/datamodules.h"
#include "ui/grid/datagrid.h"
#include "ui/messages.h"
#include "ui/windowfont.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QString NameRar = QStringLiteral("name_rar");

// name_rar holds 50 characters; the edit takes no more, so a name is never refused on save.
constexpr int NameLength = 50;

void copyField(const Dataset &from, Dataset &to, const QString &field)
{
    const QVariant v = from.value(field);
    if (v.isNull())
        to.clearValue(field);
    else
        to.setValue(field, v);
}

} // namespace

TForm5::TForm5(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      m_data(data)
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Введите название"));
    setFont(windowFont());
    resize(218, 124);

    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setFixedWidth(185);
    m_edit1->setMaxLength(NameLength);
    m_edit1->setAccessibleName(QStringLiteral("Название раствора"));
    m_edit1->installEventFilter(this);

    m_button1 = new QPushButton(QStringLiteral("Сохранить"), this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button2 = new QPushButton(QStringLiteral("Отмена"), this);
    m_button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton *b : {m_button1, m_button2}) {
        b->setFixedSize(75, 25);
        b->setAutoDefault(false);
    }
    connect(m_button1, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    connect(m_button2, &QPushButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_button1);
    buttons->addWidget(m_button2);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_edit1, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    layout->addStretch();
    setTabOrder(m_edit1, m_button1);
    setTabOrder(m_button1, m_button2);
}

void TForm5::showDialog()
{
    show();
    raise();
    activateWindow();
}

QString TForm5::nameText() const
{
    return m_edit1->text();
}

void TForm5::setNameText(const QString &text)
{
    m_edit1->setText(text);
}

void TForm5::Button1Click()
{
    const QString name = m_edit1->text();
    if (RenameMode)
        rename(name);
    else if (!name.isEmpty())
        create(name);
    hide();
}

void TForm5::rename(const QString &name)
{
    Dataset &head = m_data.form4.T_HEAD_RAR;
    // With no saved solution there is no row to edit: a new one is started, and the link
    // gives it the selected crop.
    if (head.state() == DatasetState::Browse && head.currentRow() < 0)
        head.append();
    else
        head.edit();
    head.setValue(NameRar, name);
    head.post();
}

void TForm5::create(const QString &name)
{
    Form4Data &f4 = m_data.form4;
    Dataset &head = f4.T_HEAD_RAR;
    head.append();
    head.setValue(NameRar, name);
    // Fails on a percentage that is not a whole number: the row stays appended with its name.
    head.setValue(QStringLiteral("konc"), strToInt(Form4->percentageText()));
    head.post();
    const QVariant solution = head.value(QStringLiteral("id_head_rar"));

    // An amount still open in the working-composition grid belongs to what is saved.
    if (auto *grid = Form4->findChild<DataGrid *>(QStringLiteral("dxDBGrid2")))
        grid->commitEditor();
    Dataset &work = f4.T_rachet;
    Dataset &rows = f4.T_save_rar;
    Connection::Batch batch(m_data.ADOConnection1);
    work.first();
    while (!work.eof()) {
        rows.append();
        rows.setValue(QStringLiteral("id_head_rar"), solution);
        copyField(work, rows, QStringLiteral("id_udobra"));
        copyField(work, rows, QStringLiteral("kol"));
        rows.post();
        work.next();
    }
    batch.commit();
}

void TForm5::Button2Click()
{
    hide();
}

bool TForm5::Edit1KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Button1Click();
        return true;
    case Qt::Key_Escape:
        Button2Click();
        return true;
    default:
        return false;
    }
}

bool TForm5::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        bool taken = false;
        guarded([&] { taken = Edit1KeyDown(key); });
        // Enter and Escape are ours even when saving failed: the edit does nothing with them.
        return taken || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm5::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
