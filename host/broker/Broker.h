#ifndef CIMHOST_BROKER_H
#define CIMHOST_BROKER_H

#include <cmpidt.h>
#include <cmpift.h>

#include <functional>
#include <memory>
#include <shared_mutex>
#include <string>
#include <vector>

namespace cimhost {

class Arena;

// An in-process CMPI broker: owns the objects providers create, routes
// requests and up-calls by class name to registered providers. Class names
// compare without regard to case. Registration and requests may run on any
// thread. Nothing here throws except std::bad_alloc.
class Broker {
public:
    Broker();
    ~Broker();
    Broker(const Broker&) = delete;
    Broker& operator=(const Broker&) = delete;

    const CMPIBroker* cmpi() const { return &record; }
    // The Broker behind a CMPIBroker this class made; null for any other.
    static Broker* fromCmpi(const CMPIBroker* broker);

    // Holds clones and objects created on threads without a request; freed
    // with the broker.
    Arena& ownArena() { return *own; }

    void registerInstanceProvider(const std::string& className, CMPIInstanceMI* mi);
    void registerAssociationProvider(const std::string& assocClass, CMPIAssociationMI* mi);
    void registerMethodProvider(const std::string& className, CMPIMethodMI* mi);
    // Lets requests for a superclass reach the providers of its subclasses.
    void registerClass(const std::string& className, const std::string& superClass);
    // Key property names of a class, used to build paths of instances.
    void registerKeys(const std::string& className, const std::vector<std::string>& keys);
    std::vector<std::string> keyNames(const std::string& className) const;
    bool isA(const std::string& className, const std::string& ancestor) const;

    struct Module {
        std::string path;
        std::string providerName;
        void* handle = nullptr;
        CMPIInstanceMI* instance = nullptr;
        CMPIAssociationMI* association = nullptr;
        CMPIMethodMI* method = nullptr;
    };
    // dlopens a provider library and calls the <providerName>_Create_*MI
    // factories it exports (or the _Generic_Create_*MI ones with the name).
    // Null, with `error` set, when it cannot or no factory yields an MI.
    // The module's cleanup slots run, and it is unloaded unless it asks to
    // stay, when the broker is destroyed.
    const Module* loadModule(const std::string& path, const std::string& providerName,
                             std::string* error);
    // Registers the module's MIs for the classes each serves; classes for
    // an MI the module lacks are skipped.
    void registerModuleClasses(const Module& module, const std::vector<std::string>& instanceClasses,
                               const std::vector<std::string>& associationClasses,
                               const std::vector<std::string>& methodClasses);

    // Receives what providers log and trace (trace entries have
    // `trace` set, `level` their CMPILevel, else the CMPISeverity).
    struct LogEntry {
        bool trace = false;
        int level = 0;
        std::string component;  // message id or trace component
        std::string text;
    };
    void setLogSink(std::function<void(const LogEntry&)> sink);
    void log(const LogEntry& entry) const;

    // Providers for a class: its own, then those of registered subclasses.
    std::vector<CMPIInstanceMI*> instanceProviders(const std::string& className) const;
    // Provider for one instance of a class: its own or the nearest ancestor's.
    CMPIInstanceMI* instanceProvider(const std::string& className) const;
    CMPIMethodMI* methodProvider(const std::string& className) const;
    // Association providers of a class and its subclasses; all of them for null.
    std::vector<CMPIAssociationMI*> associationProviders(const char* assocClass) const;

private:
    template <class MI> using Table = std::vector<std::pair<std::string, MI*>>;
    std::vector<std::string> lineage(const std::string& className) const;
    std::vector<std::string> descendants(const std::string& className) const;
    template <class MI>
    MI* create(void* handle, const std::string& providerName, const char* kind,
               const CMPIContext* ctx, std::string& failures);

    CMPIBroker record;
    std::unique_ptr<Arena> own;
    mutable std::shared_mutex mutex;
    Table<CMPIInstanceMI> instanceTable;
    Table<CMPIAssociationMI> associationTable;
    Table<CMPIMethodMI> methodTable;
    std::vector<std::pair<std::string, std::string>> superClasses;
    std::vector<std::pair<std::string, std::vector<std::string>>> keys;
    std::vector<std::unique_ptr<Module>> modules;
    std::function<void(const LogEntry&)> logSink;
};

} // namespace cimhost

#endif
