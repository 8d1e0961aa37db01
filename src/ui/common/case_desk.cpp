#include "ui/common/case_desk.h"

#include "ui/common/case_texts.h"
#include "ui/common/message_box.h"

#include <QCoreApplication>
#include <QDir>

namespace card {

CaseDesk& CaseDesk::instance()
{
    static CaseDesk desk;
    return desk;
}

CaseDesk::CaseDesk()
{
    // The store's connection closes while the application, and so its SQL drivers, still exist.
    qAddPostRoutine([] { instance().m_store.reset(); });
}

void CaseDesk::setLocationText(const QString& text)
{
    m_locationText = text;
    m_store.reset();
    m_failureShown = false;
}

CaseStore* CaseDesk::open(QWidget* parent, bool sayWhy)
{
    if (m_store)
        return m_store.get();
    QString error;
    m_store = CaseStore::open(chosenStoreLocation(m_locationText), currentOperator(), error);
    if (!m_store && sayWhy) {
        m_failureShown = true;
        showMessage(parent, error);
    }
    return m_store.get();
}

CaseStore* CaseDesk::store(QWidget* parent)
{
    return open(parent, true);
}

void CaseDesk::record(QWidget* parent, const QString& action, const QString& details,
                      const QString& caseName)
{
    CaseStore* cases = open(parent, !m_failureShown);
    if (!cases)
        return;
    if (cases->record(action, details, caseName))
        emit changed();
    else
        showMessage(parent, cases->errorText());
}

QStringList casesOf(const Swipe& swipe)
{
    CaseStore* store = CaseDesk::instance().quietStore();
    if (!store || swipe.parameterFile.isEmpty())
        return {};
    return store->casesBySwipe(swipe.parameterFile)
        .value(swipeKey(swipe.day, swipe.time, swipe.card));
}

QString caseMark(const Swipe& swipe)
{
    const QStringList names = casesOf(swipe);
    return names.isEmpty() ? QString() : case_texts::kMarked.arg(names.join(u'、'));
}

void recordWritten(QWidget* parent, const QString& action, const QString& what, const QString& path)
{
    CaseDesk::instance().record(parent, action, what + u'：' + QDir::toNativeSeparators(path));
}

} // namespace card
