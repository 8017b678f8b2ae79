#pragma once

#include <QString>

// Where the user's settings file lives. A portable copy of the program keeps
// it beside itself, in the program's folder, as long as that folder is the
// user's own. An installed program's folder is not (it belongs to root): each
// user then keeps a private file in their own config folder, first copied
// from the administrator's read-only defaults, and the service address is
// taken from those defaults alone, so that no user can point another's
// queries elsewhere.
struct SettingsLocation
{
    // Portable: the settings file in folder. Implicit, so that a folder
    // stands for its location wherever one is asked for.
    SettingsLocation(const QString &portableFolder = QString()) : folder(portableFolder) {}

    QString folder;     // holds the user's "vantrel_cof.ini"
    QString systemFile; // the administrator's defaults; used only when installed
    bool installed = false;

    QString filePath() const;

    // The portable layout when programFolder is the user's own, else the
    // installed one: userConfigFolder with systemFile as its defaults.
    static SettingsLocation choose(const QString &programFolder, const QString &userConfigFolder,
                                   const QString &systemFile);
    // The same with this system's places: "kestrano" in the user's config
    // folder, "/etc/kestrano/vantrel_cof.ini".
    static SettingsLocation forProgram(const QString &programFolder);

    // A folder that belongs to the effective user, who may write it, and
    // that nobody else may write (else another user could plant a file there).
    // For root, one that nobody else may enter at all: a folder of root's that
    // others may enter is an installed program's, never a settings folder.
    static bool isUsersOwnFolder(const QString &folder);

    // Installed: makes the user's folder private (0700) and, when the user
    // has no settings file yet, copies the administrator's file there (0600).
    // Portable: nothing to do. Raises KestranoError when it cannot. Returns
    // what the user must be told: that the administrator's file is ignored
    // (not root's, or open to others' changes) and why; empty when nothing.
    [[nodiscard]] QString prepare() const;
};
