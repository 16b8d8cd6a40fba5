// Holds the one game model: made on the first request, the same object on
// every later one, deleted by this owner. The application object holds one
// of these (its GetModel is GetModel here); the headless run holds its own.
#pragma once

#include <functional>
#include <memory>

#include "model.h"

class CModelOwner
{
public:
    using Factory = std::function<std::unique_ptr<CModel>()>;

    // The factory makes the model on the first request; by default a model
    // on the steady wall clock.
    explicit CModelOwner(Factory factory = nullptr);
    ~CModelOwner();

    CModelOwner(const CModelOwner&) = delete;
    CModelOwner& operator=(const CModelOwner&) = delete;

    // Creates the model on the first call; null only if the factory gives
    // none.
    CModel* GetModel();
    bool HasModel() const { return m_pModel != nullptr; }
    // Destroys the model (and with it the whole scene); the next GetModel
    // makes a new one.
    void DeleteModel();
    // Destroys the model; the next GetModel makes one with this factory.
    // The owner itself stays, so whoever holds it keeps a good reference.
    void SetFactory(Factory factory);

private:
    Factory m_Factory;
    std::unique_ptr<CModel> m_pModel;
};
