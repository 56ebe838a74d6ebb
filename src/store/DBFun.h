#pragma once
#include <QString>
#include <QStringList>

// Lookup and numbering helpers shared by the windows. Each runs its own
// statements on the data module's third shared query, so it may be called
// while a window walks a result on the first one. Codes are bound as
// parameters; table and column names are the program's own.
namespace DBFun {

QString getParam(int pid);  // empty text when there is no row

// Greatest code in text order read as a number, plus 1, padded with "0" to
// the width in params row widthPid; 1 when the table is empty or the
// greatest code is not a number.
QString nextCode(const QString& table, const QString& column, int widthPid);
QString nextProcessCode(const QString& trade);  // counted within the trade, width pid 4
QString nextWorkerCode();                       // width pid 6

bool processExists(const QString& trade, const QString& process);
bool workerExists(const QString& code);
bool positionExists(const QString& code);
bool workerInUse(const QString& code);  // piece-work lines or salary rows
QString positionName(const QString& code);
QString workerPosition(const QString& code);  // "[" + tpcode + "]" + name, or empty

// "[code]name" entries of a code table in code order, for the drop-downs.
QStringList codeNames(const QString& table, const QString& codeColumn, const QString& nameColumn);
QStringList processNames(const QString& trade);  // the trade's processes, "[gxcode]gxname"

int nextFieldNumber();    // number of a new salary item, from gzdata's last column
int nextFormulaNumber();  // max(gzgs.xh) + 1
int nextRecordNumber();   // max(jjdata.pid) + 1

// The business date's month, or the latest month that has salary rows.
void defaultPeriod(int& year, int& month);
bool monthHasSalary(int year, int month);
void deleteMonth(int year, int month);

// True for the administrator (any letter case) and for an operator holding
// the permission id.
bool hasPermission(int roleId);

}  // namespace DBFun
