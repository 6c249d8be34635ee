#include "Engine/ControllerInterface.h"

#include "Engine/BehaviorInterface.h"
#include "Engine/ModelInterface.h"
#include "Engine/ViewInterface.h"

#include <algorithm>

ControllerInterface::ControllerInterface(ModelInterface* model, ViewInterface* view) : model(model)
{
    if (view)
        views.push_back(view);
    model->SetController(this);
    if (view)
        view->SetController(this);
}

ControllerInterface::~ControllerInterface()
{
    for (ViewInterface* view : views)
        delete view;
    delete model;
}

void ControllerInterface::Update()
{
    model->Update();
    for (BehaviorInterface* behavior : behaviors)
        behavior->DoUpdate();
}

void ControllerInterface::Draw()
{
    for (ViewInterface* view : views)
        view->Draw();
    for (BehaviorInterface* behavior : behaviors)
        behavior->DoDraw();
}

void ControllerInterface::DrawShadowVolume(Light* light)
{
    for (ViewInterface* view : views)
        view->DrawShadowVolume(light);
}

void ControllerInterface::AddBehavior(BehaviorInterface* behavior)
{
    behaviors.push_back(behavior);
}

BehaviorInterface* ControllerInterface::FindBehavior(int typeId) const
{
    for (BehaviorInterface* behavior : behaviors)
    {
        if (behavior->GetTypeId() == typeId)
            return behavior;
    }
    return nullptr;
}

void ControllerInterface::RemoveBehaviors(int typeId)
{
    behaviors.erase(std::remove_if(behaviors.begin(), behaviors.end(),
                                   [typeId](const BehaviorInterface* behavior)
                                   { return behavior->GetTypeId() == typeId; }),
                    behaviors.end());
}
