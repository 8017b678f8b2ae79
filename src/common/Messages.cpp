#include "common/Messages.h"

#include "common/TextRules.h"

#include <QFileDevice>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

namespace Messages {

QString systemReason(int error)
{
    switch (error) {
    case ENOENT:
        return fileNotFound();
    case EACCES:
    case EPERM:
        return noPermission();
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘已满");
    case EROFS:
        return QStringLiteral("磁盘只能读取，不能写入");
    case EISDIR:
        return QStringLiteral("这是一个文件夹");
    case ENOTDIR:
        return QStringLiteral("路径中的一部分不是文件夹");
    case EIO:
        return readOrWriteFailed();
    case ENAMETOOLONG:
        return QStringLiteral("名称太长");
    case ELOOP:
        return isALink();
    case EMFILE:
    case ENFILE:
        return QStringLiteral("打开的文件太多");
    case ENOMEM:
        return outOfMemory();
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("文件正被占用");
    case EEXIST:
        return QStringLiteral("已经有同名的文件");
    default:
        return QStringLiteral("系统错误（错误号 %1）").arg(error);
    }
}

QString fileReason(const QFileDevice &file, const QString &path)
{
    const QFileInfo info(path);
    if (file.error() == QFileDevice::OpenError) {
        if (!info.exists())
            return fileNotFound();
        if (info.isDir())
            return QStringLiteral("这是一个文件夹");
        if (!info.isReadable())
            return noPermission();
    }
    return readOrWriteFailed();
}

QString notARegularFile()
{
    return QStringLiteral("它不是普通文件");
}

QString ownedByAnotherUser()
{
    return QStringLiteral("它属于另一个用户");
}

QString notRoots()
{
    return QStringLiteral("它不属于 root");
}

QString folderNotRoots(const QString &folder)
{
    return QStringLiteral("它所在的文件夹 %1 不属于 root").arg(folder);
}

QString folderWritableByOthers(const QString &folder)
{
    return QStringLiteral("其他用户可以修改它所在的文件夹 %1").arg(folder);
}

QString writableByOthers()
{
    return QStringLiteral("其他用户可以修改它");
}

QString largerThan(const QString &size)
{
    return QStringLiteral("它大于 %1").arg(size);
}

QString isALink()
{
    return QStringLiteral("它是一个链接，程序不跟随链接");
}

QString readOnly()
{
    return QStringLiteral("它只能读取，不能写入");
}

QString lockFileNotRegular()
{
    return QStringLiteral("它的锁文件不是普通文件");
}

QString outOfMemory()
{
    return QStringLiteral("内存不足");
}

QString parentFolderUnmakeable()
{
    return QStringLiteral("无法建立它的上级文件夹");
}

QString notAFolder()
{
    return QStringLiteral("它不是文件夹");
}

QString fileNotFound()
{
    return QStringLiteral("文件不存在");
}

QString noPermission()
{
    return QStringLiteral("没有权限");
}

QString readOrWriteFailed()
{
    return QStringLiteral("读写出错");
}

QString settingsUnreadable(const QString &path, const QString &reason)
{
    return QStringLiteral("无法读取设置文件 %1：%2").arg(path, reason);
}

QString settingsUnwritable(const QString &path, const QString &reason)
{
    return QStringLiteral("无法写入设置文件 %1：%2").arg(path, reason);
}

QString administratorsSettingsIgnored(const QString &path, const QString &reason)
{
    return QStringLiteral("管理员的设置文件 %1 未被采用：%2。查询使用默认的验证服务地址；"
                          "请系统管理员修正这个文件")
        .arg(path, reason);
}

QString settingsFolderUnprepared(const QString &folder, const QString &reason)
{
    return QStringLiteral("无法准备设置文件夹 %1：%2").arg(folder, reason);
}

QString internalError(const QString &where, int line)
{
    return QStringLiteral("程序内部错误（%1，第 %2 行）").arg(where).arg(line);
}

QString cannotOpen(const QString &path, const QString &reason)
{
    return QStringLiteral("无法打开 %1：%2").arg(path, reason);
}

QString cannotRead(const QString &path, const QString &reason)
{
    return QStringLiteral("无法读取 %1：%2").arg(path, reason);
}

QString libraryMissing(const QString &library, const QString &neededFor)
{
    return QStringLiteral("%1需要程序库 %2，但无法加载它").arg(neededFor, library);
}

QString libraryLacksFunction(const QString &library, const QString &function)
{
    return QStringLiteral("找到的程序库 %1 缺少函数 %2").arg(library, function);
}

QString libraryTooOld(const QString &library, const QString &version, const QString &needed)
{
    return QStringLiteral("找到的程序库 %1 是 %2 版，需要 %3 或更新的版本")
        .arg(library, version, needed);
}

QString librarySetUpFailed(const QString &library, const QString &reason)
{
    return QStringLiteral("无法初始化程序库 %1：%2").arg(library, reason);
}

QString pageTooLarge(const QString &size)
{
    return QStringLiteral("网页大于 %1，没有读取").arg(size);
}

QString pageWithTooManyAttributes(int most)
{
    return QStringLiteral("网页中有标签的属性多于 %1 个，没有读取").arg(most);
}

QString pageNotHtml()
{
    return QStringLiteral("无法把网页当作 HTML 读取");
}

QString interfaceNotSupported()
{
    return QStringLiteral("不支持此接口");
}

QString headerWithLineBreak(const QString &header)
{
    return QStringLiteral("请求头的值不能包含换行：%1").arg(header);
}

QString networkNotStarted()
{
    return QStringLiteral("无法启动网络连接");
}

QString requestStillRunning()
{
    return QStringLiteral("上一个网络请求还没有结束");
}

QString answerTooLarge(const QString &url, const QString &size)
{
    return QStringLiteral("%1 的回答大于 %2").arg(url, size);
}

QString tooManyRedirects(const QString &host, int most)
{
    return QStringLiteral("%1 重定向了 %2 次以上，已停止").arg(host).arg(most);
}

QString httpError(const QString &host, int status)
{
    return QStringLiteral("服务器 %1 回答了 HTTP 错误 %2").arg(host).arg(status);
}

QString redirectNotHttp(const QString &url)
{
    return QStringLiteral("已阻止转到非 HTTP 地址的重定向：%1").arg(url);
}

QString redirectToPlainHttp(const QString &url)
{
    return QStringLiteral("已阻止从 HTTPS 转到普通 HTTP 的重定向：%1").arg(url);
}

QString redirectToPrivateAddress(const QString &url)
{
    return QStringLiteral("已阻止转到本机或内部网络地址的重定向：%1").arg(url);
}

QString redirectToAnotherHost(const QString &url)
{
    return QStringLiteral("已阻止转到其他主机的重定向：%1").arg(url);
}

QString redirectToAnotherPort(const QString &url)
{
    return QStringLiteral("已阻止转到服务器其他端口的重定向：%1").arg(url);
}

QString hostNotFound(const QString &host)
{
    return QStringLiteral("找不到主机 %1").arg(host);
}

QString connectionRefused(const QString &host)
{
    return QStringLiteral("无法连接到 %1").arg(host);
}

QString timedOut(const QString &host)
{
    return QStringLiteral("%1 在限定时间内没有回答").arg(host);
}

QString secureConnectionFailed(const QString &host)
{
    return QStringLiteral("无法与 %1 建立安全连接（TLS）").arg(host);
}

QString connectionBroken(const QString &host)
{
    return QStringLiteral("与 %1 的连接中断了").arg(host);
}

QString networkFailed(const QString &host, int code)
{
    return QStringLiteral("与 %1 通信失败（libcurl 错误 %2）").arg(host).arg(code);
}

QString printerOrJobNotFound()
{
    return QStringLiteral("打印系统找不到这台打印机或这个作业");
}

QString printingNotAllowed()
{
    return QStringLiteral("打印系统不允许这样做");
}

QString printSystemUnreachable()
{
    return QStringLiteral("无法连接打印系统");
}

QString printSystemError(int status)
{
    return QStringLiteral("打印系统报告错误（IPP 状态 0x%1）").arg(status, 4, 16, QLatin1Char('0'));
}

QString printSystemHttpError(int status)
{
    return QStringLiteral("打印系统回答了 HTTP 错误 %1").arg(status);
}

QString noJobNumber()
{
    return QStringLiteral("打印系统没有给出作业号");
}

QString journalUnopenable(const QString &path, const QString &reason)
{
    return QStringLiteral("无法打开打印记录 %1：%2").arg(path, reason);
}

QString journalUnwritable(const QString &path, const QString &reason)
{
    return QStringLiteral("无法写入打印记录 %1：%2").arg(path, reason);
}

QString journalRefused(const QString &path, const QString &reason)
{
    return QStringLiteral("打印记录文件 %1 不能使用：%2。为保护旅客信息，程序不写入它；"
                          "请删除或移走它，在此之前不能打印")
        .arg(path, reason);
}

QString databaseReason(int sqliteCode)
{
    // The primary result codes of SQLite (the low byte of an extended one).
    switch (sqliteCode & 0xFF) {
    case 3:  // SQLITE_PERM
    case 23: // SQLITE_AUTH
        return noPermission();
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("它正被另一个程序使用");
    case 7: // SQLITE_NOMEM
        return outOfMemory();
    case 8: // SQLITE_READONLY
        return readOnly();
    case 10: // SQLITE_IOERR
        return readOrWriteFailed();
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return QStringLiteral("它已损坏，或者不是打印记录");
    case 13: // SQLITE_FULL
        return QStringLiteral("磁盘已满");
    case 14: // SQLITE_CANTOPEN
        return QStringLiteral("无法打开这个文件");
    default:
        return QStringLiteral("数据库错误（SQLite 代码 %1）").arg(sqliteCode);
    }
}

QString registerAddressInvalid(const QString &uri)
{
    return QStringLiteral("登记服务器地址“%1”不对：应当是 postgresql://用户@主机:端口/数据库")
        .arg(uri);
}

QString registerDriverMissing(const QString &server)
{
    return QStringLiteral("无法连接登记服务器 %1：没有安装 PostgreSQL 数据库驱动"
                          "（libqt6sql6-psql）")
        .arg(server);
}

QString registerUnreachable(const QString &server, const QString &reason)
{
    return QStringLiteral("无法连接登记服务器 %1：%2").arg(server, reason);
}

QString registerRefused(const QString &server, const QString &reason)
{
    return QStringLiteral("登记服务器 %1 没有完成请求：%2").arg(server, reason);
}

QString postgresReason(const QString &sqlState, const QString &text)
{
    // libpq words a failed connection in English and without a code.
    const struct
    {
        const char *words;
        const char *reason;
    } connectionFailures[] = {
        {"Connection refused", "服务器拒绝连接（它没有运行，或者端口不对）"},
        {"timeout expired", "连接超时"},
        {"translate host", "找不到这个主机"},
        {"No route", "网络不通"},
        {"unreachable", "网络不通"},
        {"authentication failed", "用户名或密码不对"},
        {"password supplied", "服务器要求密码"},
        {"not exist", "没有这个数据库或用户"},
        {"pg_hba.conf", "服务器不允许这台电脑连接"},
        {"server closed", "服务器中断了连接"},
        {"terminating connection", "服务器中断了连接"},
        {"no connection", "与服务器的连接已断开"},
    };
    for (const auto &failure : connectionFailures) {
        if (text.contains(QLatin1String(failure.words), Qt::CaseInsensitive))
            return QString::fromUtf8(failure.reason);
    }
    if (sqlState.startsWith(QLatin1String("08")))
        return QStringLiteral("与服务器的连接已断开");
    if (sqlState.startsWith(QLatin1String("28")))
        return QStringLiteral("用户名或密码不对");
    if (sqlState == QLatin1String("3D000"))
        return QStringLiteral("没有这个数据库");
    if (sqlState == QLatin1String("42501"))
        return noPermission();
    if (sqlState.startsWith(QLatin1String("57P")))
        return QStringLiteral("服务器正在关闭或重启");
    if (sqlState.startsWith(QLatin1String("53")))
        return QStringLiteral("服务器资源不足（磁盘或内存）");
    if (sqlState.isEmpty())
        return QStringLiteral("与服务器的连接失败");
    // A code is five of 0-9 and A-Z; anything else a server sends in its
    // place is not shown.
    const bool wellFormed =
        sqlState.size() == 5 && std::all_of(sqlState.begin(), sqlState.end(), [](QChar c) {
            return isAsciiDigit(c) || (c >= u'A' && c <= u'Z');
        });
    if (!wellFormed)
        return QStringLiteral("数据库错误");
    return QStringLiteral("数据库错误（代码 %1）").arg(sqlState);
}

QString registerTooNew(int version)
{
    return QStringLiteral("登记表是新版程序建立的（第 %1 版），请升级本程序").arg(version);
}

QString noRangeSelected()
{
    return QStringLiteral("请先选中一个号段，或者选择按期间核销");
}

QString periodBackwards()
{
    return QStringLiteral("期间不对：开始日期晚于结束日期");
}

QString stockRangeInvalid()
{
    return QStringLiteral("号段不对：起始号和终止号都应当是十位数字，终止号不小于起始号");
}

QString stockRangeOverlaps(const QString &first, const QString &last)
{
    return QStringLiteral("这个号段与已领用的号段 %1–%2 重叠").arg(first, last);
}

QString registerExportFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("无法导出到 %1：%2").arg(path, reason);
}

QString captchaNotJpeg()
{
    return QStringLiteral("验证码图片不是 JPEG 图像");
}

} // namespace Messages
