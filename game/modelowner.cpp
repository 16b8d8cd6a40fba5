#include "modelowner.h"

CModelOwner::CModelOwner(Factory factory) : m_Factory(std::move(factory)) {}

CModelOwner::~CModelOwner() = default;

CModel* CModelOwner::GetModel()
{
    if (!m_pModel)
        m_pModel = m_Factory ? m_Factory() : std::make_unique<CModel>();
    return m_pModel.get();
}

void CModelOwner::DeleteModel()
{
    m_pModel.reset();
}

void CModelOwner::SetFactory(Factory factory)
{
    m_pModel.reset();
    m_Factory = std::move(factory);
}
