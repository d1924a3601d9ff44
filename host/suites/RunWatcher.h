// What a command of the host may follow of a plug-in's run through the suites, to show a person
// how far it has come. A watcher only looks: the suites do the same with or without one.
#pragma once

#include <string>

namespace quiltor::host {

struct Layer;  // model/Art.h

class RunWatcher {
public:
    virtual ~RunWatcher() = default;
    // A plug-in asked to open the file at path (UTF-8), whether or not it opened.
    virtual void DocumentOpening(const std::string& path) = 0;
    // The open that DocumentOpening announced is over, opened or not.
    virtual void DocumentOpened() {}
    // A plug-in asked for every art object of a layer.
    virtual void LayerArtListed(const Layer& layer) = 0;
};

}  // namespace quiltor::host
