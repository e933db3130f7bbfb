#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <optional>

// One stand-in Mac: a folder laid out like a Mac's file system (Applications, Volumes, usr/bin,
// …) whose machine state - disks, System Integrity Protection, the administrator - lives in small
// JSON files under var/standin. Every tool gets the World it was invoked in and goes through it
// for that state.
//
// Paths kept in the state files are Mac paths ("/Volumes/UNTITLED"); hostPath() turns them into
// the folder inside the world, macPath() goes the other way.
class World {
public:
    enum class Protection { Enabled, Disabled, Custom, CustomUnknown };
    enum class AdminPrompt { Grant, Cancel, Deny };

    explicit World(const QString &root);

    // The world a tool belongs to: the first folder holding var/standin above the path it was
    // invoked by (when that is a path), else the folder named by TESSALINE_HOST_ROOT (passed in as
    // `hostRootVariable`). On failure `error` says why.
    static std::optional<World> locate(const QString &invokedAs, const QString &hostRootVariable,
                                       QString *error);
    static bool isWorld(const QString &folder);

    QString root() const { return m_root; }
    QString stateFolder() const;
    QString hostPath(const QString &macPath) const;
    // Leaves paths outside the world unchanged.
    QString macPath(const QString &hostPath) const;

    // A state file by name ("disks" is var/standin/disks.json). Missing or unreadable files read
    // as an empty object; `error` tells the two apart from an empty file.
    QJsonObject readState(const QString &name, QString *error = nullptr) const;
    // Replaces the file atomically, so readers never see half of it.
    bool writeState(const QString &name, const QJsonObject &state, QString *error = nullptr) const;
    // Read, change and write under a lock, so two tools changing the same file lose nothing.
    // `change` returns false to leave the file as it was.
    bool updateState(const QString &name, const std::function<bool(QJsonObject &)> &change,
                     QString *error = nullptr) const;

    // disks.json: {"disks": [...]} in diskutil's own vocabulary (see WorldMaker.cpp).
    QJsonArray disks() const;
    bool updateDisks(const std::function<bool(QJsonArray &)> &change,
                     QString *error = nullptr) const;

    // protection.json: {"status": "enabled" | "disabled" | "custom" | "custom-unknown"}: the custom
    // configuration as El Capitan to Mojave report it, or as Catalina and later do.
    Protection protection() const;
    bool setProtection(Protection status, QString *error = nullptr) const;

    // admin.json: {"password": "...", "prompt": "grant" | "cancel" | "deny", "delay": SECONDS}.
    QString adminPassword() const;
    AdminPrompt adminPrompt() const;
    // How long the administrator prompt takes to be answered, as a user typing; 0 when unset.
    double adminPromptDelay() const;
    bool setAdminPrompt(AdminPrompt answer, QString *error = nullptr) const;

    // catalogue.json: what Apple's servers offer this Mac, for softwareupdate: the Mac's own
    // version, how a download fails, and the full installers, each with the package it lands (see
    // WorldMaker.cpp).
    // space.json: {"freeBytes": N}, the free space of the startup volume, where /Applications
    // lies; nullopt when unset.
    std::optional<qint64> startupFreeSpace() const;

    static QString protectionName(Protection status);
    static std::optional<Protection> protectionFromName(const QString &name);
    static QString adminPromptName(AdminPrompt answer);
    static std::optional<AdminPrompt> adminPromptFromName(const QString &name);

private:
    QString statePath(const QString &name) const;

    QString m_root;
};
