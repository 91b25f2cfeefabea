#include "NodeStore.h"

#include <utility>

#include "StoreState.h"

namespace Korvu {

using StoreDetail::StoreState;

const char* const NodeStore::defaultFile = "/var/lib/korvu/quellstore.json";

void NodeStore::open(const std::string& path) { StoreState::instance().open(path); }

void NodeStore::loadFromString(const std::string& text, const std::string& persistPath)
{
    StoreState::instance().load(text, persistPath);
}

void NodeStore::reload() { StoreState::instance().reload(); }

std::string NodeStore::loadError() { return StoreState::instance().fault(); }

std::string NodeStore::lastWriteRefusal() { return StoreState::refusal(); }

std::string NodeStore::currentFile() { return StoreState::instance().file(); }

unsigned long NodeStore::agentRestartRequests() { return StoreState::instance().restartRequests(); }

std::string NodeStore::toJson() { return StoreState::instance().dump(); }

NodeStore::ReadScope::ReadScope() { StoreState::enterScope(); }

NodeStore::ReadScope::~ReadScope() { StoreState::leaveScope(); }

void NodeStore::setWriteObserver(WriteObserver observer)
{
    StoreState::instance().setObserver(std::move(observer));
}

} // namespace Korvu
