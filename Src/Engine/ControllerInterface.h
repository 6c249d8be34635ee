#pragma once

#include "Engine/BehaviorListener.h"
#include "Engine/Drawable.h"

#include <utility>
#include <vector>

class BehaviorInterface;
class ModelInterface;
class ViewInterface;

// One world object or interface frame: a model, its views and the behaviours
// that run on it. It owns the model and the views; whoever makes a behaviour
// deletes it.
class ControllerInterface : public Drawable, public BehaviorListener
{
public:
    // The model must not be null; a null view is not kept.
    ControllerInterface(ModelInterface* model, ViewInterface* view);
    ~ControllerInterface() override;
    ControllerInterface(const ControllerInterface&) = delete;
    ControllerInterface& operator=(const ControllerInterface&) = delete;

    // The model's step, then every enabled behaviour's.
    void Update() override;
    // Every view, then every enabled behaviour.
    void Draw() override;
    // Every view's shadow volume; behaviours cast none.
    void DrawShadowVolume(Light* light) override;
    void OnBehaviorFinished(BehaviorInterface* /*behavior*/) override {}

    void AddBehavior(BehaviorInterface* behavior);
    // The first behaviour of the type id, or null.
    BehaviorInterface* FindBehavior(int typeId) const;
    // Takes every behaviour of the type id off the list without deleting it.
    void RemoveBehaviors(int typeId);

    ModelInterface* GetModel() const { return model; }

    // The first view whose dynamic type is T or derived from it, or null.
    template <class T>
    const T* GetView() const
    {
        for (const ViewInterface* view : views)
        {
            if (const T* found = dynamic_cast<const T*>(view))
                return found;
        }
        return nullptr;
    }

    template <class T>
    T* GetView()
    {
        return const_cast<T*>(std::as_const(*this).template GetView<T>());
    }

protected:
    ModelInterface* const model;
    std::vector<ViewInterface*> views;
    std::vector<BehaviorInterface*> behaviors;
};
