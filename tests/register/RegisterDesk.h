#pragma once

#include "TempFolder.h"
#include "itinerary/ItineraryFields.h"
#include "print/PrintJournal.h"
#include "print/PrintService.h"
#include "register/Register.h"

#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <memory>

// One desk as the program makes it: a receipt, its print service printing to
// the private scheduler's "PDF", and the register (the shared one at uri, or
// the journal when uri is empty), in a folder of its own. The agent's answers
// to the questions on a number are set beforehand; the questions are kept.
class RegisterDesk
{
public:
    RegisterDesk(const QString &uri, const QString &desk)
    {
        m_service.setPrinterLookup([] { return QStringLiteral("PDF"); });
        m_service.setDesk(desk);
        m_register = std::make_unique<Register>(
            [this]() -> PrintJournal & { return m_service.journal(); }, m_folder.path(), desk, uri);
        m_service.setRegister(m_register.get());
        m_service.setNumberQuestions(
            {[this](const NumberUse &use) {
                 m_asked.append(Register::usedNumberQuestion(use));
                 return m_printAgain;
             },
             [this](const QString &serialNumber, const StockGap &gap) {
                 m_asked.append(Register::outsideStockQuestion(serialNumber, gap));
                 return m_printOutside;
             },
             [this] {
                 m_asked.append(Register::withoutNumberQuestion());
                 return m_printWithoutNumber;
             }});
    }

    void setSerialNumber(const QString &serial)
    {
        m_fields.setText(QStringLiteral("edtSerNo"), serial);
    }
    QString serialNumber() const { return m_fields.text(QStringLiteral("edtSerNo")); }

    bool waitForServer(int ms = 20000)
    {
        return QTest::qWaitFor([this] { return m_register->serverAvailable(); }, ms);
    }
    // Until that many jobs have ended.
    bool waitForEnds(qsizetype count, int ms = 120000)
    {
        return QTest::qWaitFor([&] { return m_ended.size() >= count; }, ms);
    }
    PrintOutcome ended(qsizetype i) const { return m_ended.at(i).at(0).value<PrintOutcome>(); }
    QStringList refusals() const
    {
        QStringList reasons;
        for (const QList<QVariant> &refused : m_notSent)
            reasons.append(QString::number(int(refused.at(0).value<PrintService::Refusal>())));
        return reasons;
    }

    TempFolder m_folder;
    ItineraryFields m_fields;
    PrintService m_service{m_fields, m_folder.path()};
    std::unique_ptr<Register> m_register;
    bool m_printAgain = false;
    bool m_printOutside = false;
    bool m_printWithoutNumber = false;
    QStringList m_asked;
    QSignalSpy m_ended{&m_service, &PrintService::jobEnded};
    QSignalSpy m_notSent{&m_service, &PrintService::notSent};
    QSignalSpy m_errors{&m_service, &PrintService::errorOccurred};
};
