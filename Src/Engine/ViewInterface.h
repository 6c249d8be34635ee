#pragma once

class ControllerInterface;
class Light;
class ModelInterface;

// One way to draw a model.
class ViewInterface
{
public:
    explicit ViewInterface(ModelInterface* model) : model(model) {}
    virtual ~ViewInterface() = default;
    ViewInterface(const ViewInterface&) = delete;
    ViewInterface& operator=(const ViewInterface&) = delete;

    virtual void SetController(ControllerInterface* /*controller*/) {}
    virtual void Draw() = 0;
    virtual void DrawShadowVolume(Light* light) = 0;

    ModelInterface* GetModel() const { return model; }

protected:
    ModelInterface* const model;
};
